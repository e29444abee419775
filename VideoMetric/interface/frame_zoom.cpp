#include "frame_zoom.h"

#include <algorithm>
#include <cmath>

namespace vidmetra::ui {

void FrameZoom::ZoomOut() {
  const int lowered = std::max(scale_ - 100, kMinScale);
  scale_ = (lowered + 99) / 100 * 100;
  ClampPan();
}

void FrameZoom::ZoomIn() {
  // Far beyond any picture a screen can show; keeps the arithmetic below in range.
  if (scale_ > 100000) return;
  scale_ = (scale_ + 100) / 100 * 100;
  ClampPan();
}

void FrameZoom::SetScale(int percent) {
  scale_ = std::clamp(percent, kMinScale, kSliderMaxScale);
  ClampPan();
}

void FrameZoom::Drag(int dx, int dy, int picture_width, int picture_height) {
  if (picture_width <= 0 || picture_height <= 0) return;
  pan_x_ -= static_cast<float>(dx) * 100.0f / (static_cast<float>(picture_width) * static_cast<float>(scale_));
  pan_y_ -= static_cast<float>(dy) * 100.0f / (static_cast<float>(picture_height) * static_cast<float>(scale_));
  ClampPan();
}

void FrameZoom::ClampPan() {
  pan_x_ = std::clamp(pan_x_, 0.0f, PanLimit());
  pan_y_ = std::clamp(pan_y_, 0.0f, PanLimit());
}

ShownPart FrameZoom::Place(int client_width, int client_height, int picture_width, int picture_height) const {
  ShownPart part;
  part.source_width = std::min(static_cast<int>(int64_t{client_width} * 100 / scale_), picture_width);
  part.source_height = std::min(static_cast<int>(int64_t{client_height} * 100 / scale_), picture_height);
  part.source_x = std::max(0, std::min(static_cast<int>(std::trunc(static_cast<float>(picture_width) * pan_x_)),
                                       picture_width - part.source_width));
  part.source_y = std::max(0, std::min(static_cast<int>(std::trunc(static_cast<float>(picture_height) * pan_y_)),
                                       picture_height - part.source_height));
  if (part.source_width < picture_width && part.source_height < picture_height) {
    part.target_width = client_width;
    part.target_height = client_height;
    return part;
  }
  part.target_width = std::min(static_cast<int>(int64_t{part.source_width} * scale_ / 100), client_width);
  part.target_height = std::min(static_cast<int>(int64_t{part.source_height} * scale_ / 100), client_height);
  part.target_x = (client_width - part.target_width) / 2;
  part.target_y = (client_height - part.target_height) / 2;
  return part;
}

}  // namespace vidmetra::ui
