#include "vidmetra/converters/tool_colour.h"

#include <algorithm>

namespace vidmetra::converters {

Yuv8 ToolRgbToYuv(int r, int g, int b) {
  return Yuv8{TruncateToByte(0.114 * b + 0.587 * g + 0.299 * r),
              TruncateToByte(0.5 * b - (0.1687 * r + 0.3313 * g) + 128),
              TruncateToByte(0.5 * r - 0.4187 * g - 0.0813 * b + 128)};
}

Bgr8 ToolYuvToRgb(int y, int u, int v) {
  const int du = u - 128, dv = v - 128;
  return Bgr8{TruncateToByte(y + 1.772 * du), TruncateToByte(y - 0.34414 * du - 0.71414 * dv),
              TruncateToByte(y + 1.402 * dv)};
}

SequenceFrameFromBgr::SequenceFrameFromBgr(PictureSize size)
    : size_(size), full_u_(size.Pixels()), full_v_(size.Pixels()) {}

namespace {

// Each 2 × 2 block of a full-size plane becomes the truncated mean of its four samples.
void AverageBlocks(const uint8_t* full, int width, int height, uint8_t* half) {
  const size_t w = static_cast<size_t>(width);
  for (int by = 0; by < height / 2; ++by) {
    const uint8_t* top = full + static_cast<size_t>(2 * by) * w;
    const uint8_t* bottom = top + w;
    for (int bx = 0; bx < width / 2; ++bx) {
      const int sum = top[2 * bx] + top[2 * bx + 1] + bottom[2 * bx] + bottom[2 * bx + 1];
      *half++ = static_cast<uint8_t>(sum / 4);
    }
  }
}

}  // namespace

void SequenceFrameFromBgr::Convert(const uint8_t* bottom_up_rows, size_t stride, uint8_t* frame) {
  const size_t w = static_cast<size_t>(size_.width);
  for (int y = 0; y < size_.height; ++y) {
    const uint8_t* bgr = bottom_up_rows + static_cast<size_t>(size_.height - 1 - y) * stride;
    const size_t row = static_cast<size_t>(y) * w;
    for (size_t x = 0; x < w; ++x, bgr += 3) {
      const Yuv8 yuv = ToolRgbToYuv(bgr[2], bgr[1], bgr[0]);
      frame[row + x] = yuv.y;
      full_u_[row + x] = yuv.u;
      full_v_[row + x] = yuv.v;
    }
  }
  uint8_t* u_plane = frame + size_.Pixels();
  AverageBlocks(full_u_.data(), size_.width, size_.height, u_plane);
  AverageBlocks(full_v_.data(), size_.width, size_.height, u_plane + size_.ChromaPlaneBytes());
}

void SequenceFrameFromIndices(PictureSize size, const uint8_t* bottom_up_rows, size_t stride, uint8_t* frame) {
  const size_t w = static_cast<size_t>(size.width);
  for (int y = 0; y < size.height; ++y) {
    const uint8_t* indices = bottom_up_rows + static_cast<size_t>(size.height - 1 - y) * stride;
    std::copy(indices, indices + w, frame + static_cast<size_t>(y) * w);
  }
  std::fill(frame + size.Pixels(), frame + size.SequenceFrameBytes(), uint8_t{128});
}

void SequencePlanesToBgr(PictureSize size, const uint8_t* y_plane, const uint8_t* u_plane, const uint8_t* v_plane,
                         uint8_t* bottom_up_rows, size_t stride) {
  const size_t w = static_cast<size_t>(size.width);
  const size_t chroma_w = w / 2;
  for (int y = 0; y < size.height; ++y) {
    uint8_t* bgr = bottom_up_rows + static_cast<size_t>(size.height - 1 - y) * stride;
    const uint8_t* luma = y_plane + static_cast<size_t>(y) * w;
    const uint8_t* u_row = u_plane + static_cast<size_t>(y / 2) * chroma_w;
    const uint8_t* v_row = v_plane + static_cast<size_t>(y / 2) * chroma_w;
    for (size_t x = 0; x < w; ++x, bgr += 3) {
      const Bgr8 pixel = ToolYuvToRgb(luma[x], u_row[x / 2], v_row[x / 2]);
      bgr[0] = pixel.b;
      bgr[1] = pixel.g;
      bgr[2] = pixel.r;
    }
  }
}

}  // namespace vidmetra::converters
