#pragma once
// The whole-range plot of a run as a picture file, drawn as the copied plot of the desktop program (curves, bad
// frames, axis titles, watermark and legend box) without needing a display. The interface is free of Qt so that
// command-line code can call it.
#include <optional>
#include <string>

#include "plot_source.h"

namespace vidmetra::plot {

inline constexpr int kDefaultPlotWidth = 1600;
inline constexpr int kDefaultPlotHeight = 600;
// Larger pictures are refused rather than allocated.
inline constexpr int kMaxPlotDimension = 16384;

// Writes `path` as PNG (or any other raster format Qt knows by the ending); an error text when nothing was
// written. Starts an off-screen Qt application when the process has none.
std::optional<std::string> WritePlotFile(const PlotSource& source, const std::string& path, int width, int height);

}  // namespace vidmetra::plot
