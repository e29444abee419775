#include "vidmetra/converters/tool_program.h"

#include <QApplication>
#include <QFont>
#include <iostream>
#include <string>
#include <vector>

#include "vidmetra/converters/command_line.h"
#include "vidmetra/converters/tool_dialog.h"

namespace vidmetra::converters {

void UseConverterFont(QApplication& application) {
  QFont::insertSubstitutions("SimSun", {"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Noto Serif CJK SC"});
  QFont font("SimSun");
  font.setPointSize(9);
  application.setFont(font);
}

int RunToolProgram(const ToolDescription& tool, int argc, char** argv) {
  if (argc > 1) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunCommandLine(tool, arguments, std::cout, std::cerr);
  }
  QApplication application(argc, argv);
  UseConverterFont(application);
  ToolDialog dialog(tool);
  dialog.show();
  return application.exec();
}

}  // namespace vidmetra::converters
