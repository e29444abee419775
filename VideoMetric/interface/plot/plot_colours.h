#pragma once
// The colours of the results plots, shared by the panels, the legend samples and the plot files.
#include <QColor>
#include <cstdint>

namespace vidmetra::plot {

// Original dark green, first processed red, second processed blue, any other input grey.
inline QColor InputColour(int32_t input) {
  switch (input) {
    case 0: return {0, 100, 0};
    case 1: return {200, 0, 0};
    case 2: return {0, 0, 200};
    default: return {127, 127, 127};
  }
}
inline QColor BadFrameColour() { return {200, 50, 50}; }
inline QColor ControlWindowColour() { return {50, 0, 50}; }
inline QColor WatermarkColour() { return {220, 220, 220}; }
// Inner value lines with the grid on: light enough that the curves stay in front.
inline QColor GridColour() { return {190, 190, 190}; }
// Apart from every curve colour and from the greys of smoothed text.
inline QColor CurrentFrameColour() { return {230, 140, 0}; }

}  // namespace vidmetra::plot
