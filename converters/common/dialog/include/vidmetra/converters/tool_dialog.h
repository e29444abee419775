#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "vidmetra/converters/tool_description.h"

class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QProgressBar;

namespace vidmetra::converters {

// The one modal dialog of a converter, laid out from the tool's fields: labels, edit fields (numbers take
// digits only and start at 0), "..." browse buttons, check boxes, notes, the action button, a progress bar for
// the tools that show one, and the about box under the help menu. The action runs the conversion with the
// dialog disabled and reports its one message.
class ToolDialog : public QDialog {
 public:
  using MessageSink = std::function<void(const QString& text)>;

  explicit ToolDialog(ToolDescription tool, QWidget* parent = nullptr);

  // Where the run's message goes; a message box unless replaced.
  void SetMessageSink(MessageSink sink) { message_sink_ = std::move(sink); }
  FieldValues Values() const;
  void RunAction();

 private:
  void AddField(QHBoxLayout* row, const FieldSpec& field);
  QLineEdit* AddEdit(QHBoxLayout* row, const FieldSpec& field);
  void Browse(const FieldSpec& field);
  void ShowAbout();

  ToolDescription tool_;
  std::map<std::string, QLineEdit*> edits_;
  std::map<std::string, QCheckBox*> checks_;
  QProgressBar* progress_ = nullptr;
  MessageSink message_sink_;
};

}  // namespace vidmetra::converters
