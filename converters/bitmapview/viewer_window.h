#pragma once
#include <QMainWindow>
#include <QString>
#include <functional>

class QMdiArea;
class QAction;

namespace vidmetra::converters {

class DibView;

// The viewer's frame: Chinese menus (文件, 窗口, 帮助), a tool bar, a status bar with the commands' prompts, and
// one scrolling child window per open bitmap in a multiple-document area.
class ViewerWindow : public QMainWindow {
 public:
  using MessageSink = std::function<void(const QString& text)>;

  explicit ViewerWindow(QWidget* parent = nullptr);
  ~ViewerWindow() override;

  // Opens `path` in a new child window with the wait cursor shown; false, after saying so, when it cannot be read.
  bool OpenFile(const QString& path);
  // Saves the active document to `path`; false, after saying so, when it cannot be written.
  bool SaveActiveAs(const QString& path);
  DibView* ActiveView() const;
  QMdiArea* Area() const { return area_; }
  // Where failures are told; a message box unless replaced.
  void SetMessageSink(MessageSink sink) { message_sink_ = std::move(sink); }

 private:
  void CreateActions();
  QAction* AddAction(const QString& text, const QString& prompt, const QKeySequence& shortcut,
                     const std::function<void()>& handler);
  void ChooseAndOpen();
  void Save();
  void ChooseAndSave();
  void ShowAbout();
  void UpdateCommands();

  QMdiArea* area_;
  QAction* save_ = nullptr;
  QAction* save_as_ = nullptr;
  QAction* close_ = nullptr;
  MessageSink message_sink_;
};

// The file filter of the viewer's open and save dialogs.
extern const char* const kDibFilter;

}  // namespace vidmetra::converters
