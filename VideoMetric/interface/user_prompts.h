#pragma once
// Everything the program asks of the user outside its own dialogs: message boxes, file and folder choosers, and
// addresses handed to the desktop. Behind an interface so that tests can answer in the user's place.
#include <optional>
#include <string>

class QWidget;

namespace vidmetra::ui {

inline constexpr const char* kErrorTitle = "Vidmetra: Error";
inline constexpr const char* kWarningTitle = "Vidmetra: Warning";

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // "Vidmetra: Error" with an exclamation icon.
  virtual void ShowError(QWidget* parent, const std::string& text) = 0;
  // "Vidmetra: Warning" with Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const std::string& text) = 0;
  // An existing file; `filter` in Qt's "Text (*.a *.b)" form, `start` the preset file name (may be empty).
  virtual std::optional<std::string> ChooseOpenFile(QWidget* parent, const std::string& filter,
                                                    const std::string& start) = 0;
  virtual std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& title) = 0;
  // A web address or local file; a failure is ignored, as the user can see it did not open.
  virtual void OpenAddress(const std::string& address) = 0;
};

// The real ones: Qt's message boxes and file dialogs, the desktop's URL handler.
class QtUserPrompts : public UserPrompts {
 public:
  void ShowError(QWidget* parent, const std::string& text) override;
  bool AskYesNo(QWidget* parent, const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(QWidget* parent, const std::string& filter,
                                            const std::string& start) override;
  std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& title) override;
  void OpenAddress(const std::string& address) override;
};

}  // namespace vidmetra::ui
