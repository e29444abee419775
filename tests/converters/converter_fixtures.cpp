#include "converter_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/byte_files.h"
#include "vidmetra/converters/dib_file.h"

namespace vidmetra::testing {
namespace {

uint8_t Clamp(double value) {
  const double truncated = std::trunc(value);
  return static_cast<uint8_t>(truncated < 0 ? 0 : (truncated > 255 ? 255 : truncated));
}

}  // namespace

std::string RunTool(const converters::ToolDescription& tool, const std::map<std::string, std::string>& fields) {
  converters::FieldValues values;
  for (const auto& [key, value] : fields) values.Set(key, value);
  converters::RunProgress progress;
  return converters::RunConversion(tool, values, progress);
}

converters::DibImage RandomBgrBitmap(int width, int height, uint32_t seed) {
  converters::DibImage image = converters::DibImage::Bgr24(converters::PictureSize{width, height});
  const std::vector<uint8_t> noise = PatternBytes(image.pixels.size(), seed);
  const size_t row_bytes = static_cast<size_t>(width) * 3;
  for (size_t row = 0; row < static_cast<size_t>(height); ++row) {
    std::copy_n(noise.begin() + static_cast<ptrdiff_t>(row * image.Stride()), row_bytes,
                image.pixels.begin() + static_cast<ptrdiff_t>(row * image.Stride()));
  }
  return image;
}

void WriteBitmap(const std::string& path, const converters::DibImage& image) {
  ASSERT_TRUE(converters::WriteDibFile(path, image)) << path;
}

std::vector<uint8_t> TopDownRgb(const converters::DibImage& image) {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < image.info.height; ++y) {
    const uint8_t* row = image.pixels.data() + static_cast<size_t>(image.info.height - 1 - y) * image.Stride();
    for (int x = 0; x < image.info.width; ++x) rgb.insert(rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  return rgb;
}

std::vector<uint8_t> ReferenceSequenceFrame(const std::vector<uint8_t>& rgb, int width, int height) {
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> frame(pixels * 3 / 2);
  std::vector<int> u(pixels), v(pixels);
  for (size_t k = 0; k < pixels; ++k) {
    const double r = rgb[3 * k], g = rgb[3 * k + 1], b = rgb[3 * k + 2];
    frame[k] = Clamp(0.114 * b + 0.587 * g + 0.299 * r);
    u[k] = Clamp(0.5 * b - (0.1687 * r + 0.3313 * g) + 128);
    v[k] = Clamp(0.5 * r - 0.4187 * g - 0.0813 * b + 128);
  }
  size_t out = pixels;
  for (const std::vector<int>* plane : {&u, &v}) {
    for (int y = 0; y < height; y += 2) {
      for (int x = 0; x < width; x += 2) {
        const size_t k = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
        const size_t w = static_cast<size_t>(width);
        frame[out++] =
            static_cast<uint8_t>(((*plane)[k] + (*plane)[k + 1] + (*plane)[k + w] + (*plane)[k + w + 1]) / 4);
      }
    }
  }
  return frame;
}

std::vector<uint8_t> ReferenceRgb(const std::vector<uint8_t>& frame, int width, int height) {
  const size_t w = static_cast<size_t>(width), pixels = w * static_cast<size_t>(height);
  std::vector<uint8_t> rgb;
  for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
    for (size_t x = 0; x < w; ++x) {
      const size_t chroma = (y / 2) * (w / 2) + x / 2;
      const double luma = frame[y * w + x], du = frame[pixels + chroma] - 128.0,
                   dv = frame[pixels + pixels / 4 + chroma] - 128.0;
      rgb.insert(rgb.end(),
                 {Clamp(luma + 1.402 * dv), Clamp(luma - 0.34414 * du - 0.71414 * dv), Clamp(luma + 1.772 * du)});
    }
  }
  return rgb;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t offset, size_t count) {
  if (offset >= bytes.size()) return {};
  const auto first = bytes.begin() + static_cast<ptrdiff_t>(offset);
  return std::vector<uint8_t>(first, first + static_cast<ptrdiff_t>(std::min(count, bytes.size() - offset)));
}

}  // namespace vidmetra::testing
