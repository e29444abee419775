#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace vidmetra::ui::testing {
namespace {

template <typename T>
T Next(std::deque<T>& answers, const char* what) {
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected " << what;
    return T{};
  }
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

bool ScriptedPrompts::AskYesNo(QWidget*, const std::string& text) {
  questions.push_back(text);
  return Next(yes_no, "question");
}

std::optional<std::string> ScriptedPrompts::ChooseOpenFile(QWidget*, const std::string& filter,
                                                           const std::string& start) {
  filters.push_back(filter);
  starts.push_back(start);
  return Next(files, "file dialog");
}

std::optional<std::string> ScriptedPrompts::ChooseFolder(QWidget*, const std::string& title) {
  folder_titles.push_back(title);
  return Next(folders, "folder dialog");
}

}  // namespace vidmetra::ui::testing
