#pragma once
#include <QIcon>
#include <QString>

namespace vidmetra::converters {

// A small film-frame icon carrying the tool's initial, drawn rather than shipped as a file.
QIcon ToolIcon(const QString& tool_name);

}  // namespace vidmetra::converters
