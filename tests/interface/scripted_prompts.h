#pragma once
// Answers in the user's place: each question takes the next scripted answer and is recorded.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "user_prompts.h"

namespace vidmetra::ui::testing {

class ScriptedPrompts : public UserPrompts {
 public:
  void ShowError(QWidget*, const std::string& text) override { errors.push_back(text); }
  bool AskYesNo(QWidget*, const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(QWidget*, const std::string& filter, const std::string& start) override;
  std::optional<std::string> ChooseFolder(QWidget*, const std::string& title) override;
  void OpenAddress(const std::string& address) override { addresses.push_back(address); }

  std::deque<bool> yes_no;
  std::deque<std::optional<std::string>> files;
  std::deque<std::optional<std::string>> folders;

  std::vector<std::string> errors;
  std::vector<std::string> questions;
  std::vector<std::string> filters;
  std::vector<std::string> starts;
  std::vector<std::string> folder_titles;
  std::vector<std::string> addresses;
};

}  // namespace vidmetra::ui::testing
