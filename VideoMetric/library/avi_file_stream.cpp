#include "vidmetra/avi_file_stream.h"

#include <algorithm>
#include <cstring>

#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/fourcc.h"

namespace vidmetra {
namespace {

struct SampleLayout {
  uint32_t handler;
  uint32_t compression;
  uint16_t bit_count;
  int colour_space;  // the tight layout a sample is in
};

bool LayoutOf(uint32_t pixel_type, SampleLayout& layout) {
  switch (pixel_type) {
    case avs_pixel::kYv12:
    case avs_pixel::kI420:
      layout = {FourCc("YV12"), FourCc("YV12"), 12, kYv12};
      return true;
    case avs_pixel::kYuy2:
      layout = {FourCc("YUY2"), FourCc("YUY2"), 16, kYuy2};
      return true;
    case avs_pixel::kBgr24:
      layout = {FourCc("DIB "), 0, 24, kRgb24};
      return true;
    case avs_pixel::kBgr32:
      layout = {FourCc("DIB "), 0, 32, kRgb32};
      return true;
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<AviFileStream> AviFileStream::ForClip(const AvisynthApi& api, AvsClip* clip, int32_t number) {
  const AvsVideoInfo* info = api.get_video_info(clip);
  SampleLayout layout{};
  if (info == nullptr || info->width <= 0 || info->height <= 0 || info->num_frames < 0 ||
      !LayoutOf(static_cast<uint32_t>(info->pixel_type), layout)) {
    return nullptr;
  }
  return std::unique_ptr<AviFileStream>(new AviFileStream(api, clip, number, static_cast<uint32_t>(info->pixel_type)));
}

AviFileStream::AviFileStream(const AvisynthApi& api, AvsClip* clip, int32_t number, uint32_t pixel_type)
    : api_(api), clip_(clip), number_(number), pixel_type_(pixel_type) {
  const AvsVideoInfo& video = *api.get_video_info(clip);
  SampleLayout layout{};
  LayoutOf(pixel_type, layout);
  sample_bytes_ = TightFrameBytes(layout.colour_space, video.width, video.height);
  info_.type = FourCc("vids");
  info_.handler = layout.handler;
  info_.scale = video.fps_denominator;
  info_.rate = video.fps_numerator;
  info_.length = static_cast<uint32_t>(video.num_frames);
  info_.suggested_buffer_size = static_cast<uint32_t>(sample_bytes_);
  info_.frame = {0, 0, video.width, video.height};
  format_ = BitmapInfoHeader{.width = video.width,
                             .height = video.height,
                             .bit_count = layout.bit_count,
                             .compression = layout.compression,
                             .image_size = static_cast<uint32_t>(sample_bytes_)}
                .Bytes();
}

bool AviFileStream::Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) {
  bytes_read = 0;
  if (sample < Start() || sample > End()) return false;
  bytes_read = sample_bytes_;
  if (buffer == nullptr || capacity < sample_bytes_) return false;
  AvsVideoFrame* frame = api_.get_frame(clip_, static_cast<int>(sample));
  if (frame == nullptr || api_.clip_get_error(clip_) != nullptr) {
    if (frame != nullptr) api_.release_video_frame(frame);
    return false;
  }
  CopyFrame(frame, static_cast<uint8_t*>(buffer));
  api_.release_video_frame(frame);
  return true;
}

void AviFileStream::CopyFrame(const AvsVideoFrame* frame, uint8_t* target) const {
  const AvsVideoInfo& video = *api_.get_video_info(clip_);
  if (pixel_type_ == avs_pixel::kYv12 || pixel_type_ == avs_pixel::kI420) {
    const int chroma_width = (video.width + 1) / 2;
    const int chroma_height = (video.height + 1) / 2;
    target = CopyPlane(frame, kAvsPlaneY, target, video.width, video.height);
    target = CopyPlane(frame, kAvsPlaneV, target, chroma_width, chroma_height);
    CopyPlane(frame, kAvsPlaneU, target, chroma_width, chroma_height);
    return;
  }
  // RGB rows are padded like DIB rows; the padding is zeroed so that samples compare byte for byte.
  const int64_t row_bytes = sample_bytes_ / video.height;
  std::memset(target, 0, static_cast<size_t>(sample_bytes_));
  CopyPlane(frame, 0, target, row_bytes, video.height);
}

uint8_t* AviFileStream::CopyPlane(const AvsVideoFrame* frame, int plane, uint8_t* target, int64_t target_stride,
                                  int rows) const {
  const uint8_t* source = api_.get_read_ptr_p(frame, plane);
  const int pitch = api_.get_pitch_p(frame, plane);
  rows = std::min(rows, api_.get_height_p(frame, plane));
  const auto row_bytes = static_cast<size_t>(std::min<int64_t>(api_.get_row_size_p(frame, plane), target_stride));
  for (int y = 0; y < rows; ++y) {
    std::memcpy(target, source, row_bytes);
    source += pitch;
    target += target_stride;
  }
  return target;
}

bool AviFileStream::GetInfo(StreamInfo& info) const {
  info = info_;
  return true;
}

bool AviFileStream::IsKeyFrame(int64_t sample) const { return sample >= Start() && sample <= End(); }

bool AviFileStream::ReadFormat(void* buffer, int64_t size) const {
  if (buffer == nullptr || FormatSize() > size) return false;
  std::memcpy(buffer, format_.data(), format_.size());
  return true;
}

}  // namespace vidmetra
