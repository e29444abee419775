#include "frame_source.h"

#include <cstring>

#include "vidmetra/colour_space.h"
#include "vidmetra/yuv_to_bgr_bytes.h"

namespace vidmetra::ui {

FrameSource::FrameSource(const std::map<int32_t, InputFileEntry>& inputs, ReaderOpener& opener, int32_t colour_matrix)
    : colour_matrix_(colour_matrix) {
  for (const auto& [index, entry] : inputs) {
    if (std::unique_ptr<SequenceReader> reader = opener.Open(entry)) readers_[index] = std::move(reader);
  }
  if (const std::optional<int32_t> first = FirstInput()) {
    width_ = readers_[*first]->Width();
    height_ = readers_[*first]->Height();
  }
}

FrameSource::~FrameSource() {
  for (auto& entry : readers_) entry.second->Close();
}

std::optional<int32_t> FrameSource::FirstInput() const {
  if (readers_.empty()) return std::nullopt;
  return readers_.begin()->first;
}

bool FrameSource::Read(int32_t input, int32_t frame) {
  const auto it = readers_.find(input);
  if (it == readers_.end() || frame < 0) return false;
  if (it->second->ReadFrame(read_, frame) != 0 || !read_.HasPixels()) return false;
  return IsYuvLike(read_.colour_space()) ? ConvertYuv() : ConvertRgb();
}

bool FrameSource::ConvertYuv() {
  if (!converted_.ConvertFrom(read_, kYuv, 0, false)) return false;
  const int width = converted_.width();
  const int height = converted_.height();
  planes_.resize(static_cast<size_t>(TightFrameBytes(kYuv, width, height)));
  converted_.ExportTight(planes_.data());
  // The inputs of one run may differ in size; the picture takes the size of the frame it shows.
  picture_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  width_ = width;
  height_ = height;
  return YuvToBgrBytes(planes_.data(), picture_.data(), width, height, width * 3, colour_matrix_);
}

bool FrameSource::ConvertRgb() {
  if (!converted_.ConvertFrom(read_, kRgb24, 0, false)) return false;
  const int width = converted_.width();
  const int height = converted_.height();
  const PlaneLayout plane = converted_.Plane(0);
  picture_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  width_ = width;
  height_ = height;
  // RGB frames are stored bottom row first.
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = plane.origin + static_cast<ptrdiff_t>(height - 1 - y) * plane.stride;
    std::memcpy(picture_.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3, row,
                static_cast<size_t>(width) * 3);
  }
  return true;
}

}  // namespace vidmetra::ui
