#include "support/decoded_reference.h"

#include <algorithm>

#include "support/ffmpeg_tool.h"

namespace vidmetra::testing {
namespace {

size_t FrameBytes(const std::string& pixel_format, int width, int height) {
  const auto w = static_cast<size_t>(width);
  const auto h = static_cast<size_t>(height);
  if (pixel_format == "yuv420p") return w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2);
  if (pixel_format == "yuyv422") return 2 * w * h;
  if (pixel_format == "yuv444p" || pixel_format == "yuvj444p") return 3 * w * h;
  if (pixel_format == "gray") return w * h;
  return (pixel_format == "bgra" ? 4 : 3) * w * h;
}

std::vector<uint8_t> ToReaderLayout(const uint8_t* frame, const std::string& pixel_format, int width, int height) {
  const auto w = static_cast<size_t>(width);
  const auto h = static_cast<size_t>(height);
  if (pixel_format == "yuv420p") {
    const size_t luma = w * h;
    const size_t chroma = ((w + 1) / 2) * ((h + 1) / 2);
    std::vector<uint8_t> out(frame, frame + luma);
    out.insert(out.end(), frame + luma + chroma, frame + luma + 2 * chroma);  // V first
    out.insert(out.end(), frame + luma, frame + luma + chroma);
    return out;
  }
  if (pixel_format == "yuyv422" || pixel_format == "yuv444p" || pixel_format == "yuvj444p" ||
      pixel_format == "gray") {
    return std::vector<uint8_t>(frame, frame + FrameBytes(pixel_format, width, height));
  }
  const size_t pixel = pixel_format == "bgra" ? 4 : 3;
  const size_t row_bytes = pixel == 4 ? 4 * w : (3 * w + 3) / 4 * 4;
  std::vector<uint8_t> out(row_bytes * h, 0);
  for (size_t y = 0; y < h; ++y) {
    std::copy_n(frame + (h - 1 - y) * pixel * w, pixel * w, out.begin() + static_cast<ptrdiff_t>(y * row_bytes));
  }
  return out;
}

}  // namespace

std::vector<std::vector<uint8_t>> FfmpegDecodedFrames(const std::string& input, const std::string& pixel_format,
                                                      int width, int height, const std::string& scratch_file) {
  if (!RunFfmpeg("-i '" + input +
                 "' -map 0:v:0 -sws_flags bicubic+accurate_rnd+bitexact+full_chroma_int+full_chroma_inp"
                 " -sws_dither none -f rawvideo -pix_fmt " + pixel_format + " '" + scratch_file + "'")) {
    return {};
  }
  const std::vector<uint8_t> bytes = ReadFileBytes(scratch_file);
  const size_t frame_bytes = FrameBytes(pixel_format, width, height);
  std::vector<std::vector<uint8_t>> frames;
  for (size_t offset = 0; offset + frame_bytes <= bytes.size(); offset += frame_bytes) {
    frames.push_back(ToReaderLayout(bytes.data() + offset, pixel_format, width, height));
  }
  return frames;
}

}  // namespace vidmetra::testing
