#pragma once
// The one entry of the plot module: vidmetra-cli loads the plot drawing, and Qt with it, only when --plot asks for
// a picture. Program and module are built together from this tree, so C++ objects pass between them as they are.
#include <string>

#include "plot_source.h"

namespace vidmetra::cli {

// Draws `source` into the picture file `path`; false with the reason in `error` when nothing was written.
using WritePlotFileEntry = bool(const plot::PlotSource& source, const char* path, int width, int height,
                                std::string& error);
inline constexpr char kWritePlotFileEntry[] = "VidmetraWritePlotFile";

}  // namespace vidmetra::cli
