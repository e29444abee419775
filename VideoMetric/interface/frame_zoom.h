#pragma once
// The zoom and pan arithmetic of the frame window: which part of the picture is shown, and where.
#include <cstdint>

namespace vidmetra::ui {

struct ShownPart {
  int source_x = 0, source_y = 0, source_width = 0, source_height = 0;  // in picture pixels
  int target_x = 0, target_y = 0, target_width = 0, target_height = 0;  // in the display's client area
};

class FrameZoom {
 public:
  static constexpr int kMinScale = 100;
  static constexpr int kSliderMaxScale = 800;

  int scale() const { return scale_; }
  float pan_x() const { return pan_x_; }
  float pan_y() const { return pan_y_; }

  // "<": one hundred down, then up to a whole hundred; never below 100.
  void ZoomOut();
  // ">": one hundred up, then down to a whole hundred; no upper bound (the slider stops at 800).
  void ZoomIn();
  // The slider's position.
  void SetScale(int percent);
  // A mouse drag by (dx, dy) pixels over a picture of that size.
  void Drag(int dx, int dy, int picture_width, int picture_height);

  ShownPart Place(int client_width, int client_height, int picture_width, int picture_height) const;

 private:
  float PanLimit() const { return 1.0f - 100.0f / static_cast<float>(scale_); }
  void ClampPan();

  int scale_ = kMinScale;
  float pan_x_ = 0;
  float pan_y_ = 0;
};

}  // namespace vidmetra::ui
