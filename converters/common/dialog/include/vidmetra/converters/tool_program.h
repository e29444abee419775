#pragma once
#include "vidmetra/converters/tool_description.h"

class QApplication;

namespace vidmetra::converters {

// The converters' main: the command line when arguments are given, the dialog otherwise.
int RunToolProgram(const ToolDescription& tool, int argc, char** argv);

// The dialogs' font, 宋体 at 9 points, with the CJK faces a Linux desktop has standing in for it.
void UseConverterFont(QApplication& application);

}  // namespace vidmetra::converters
