// libFuzzer entry for the converters' bitmap reader. A bitmap it loads must hold exactly the colour table and
// pixel bytes its headers describe, no more than the file had; written back as a file and read again it must come
// back the same; and the tools' conversions of 24-bit and 8-bit pictures must stay inside its rows.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_input_file.h"
#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/tool_colour.h"

namespace {

namespace converters = vidmetra::converters;

void CheckShape(const converters::DibImage& image, size_t file_size) {
  if (image.colour_table.size() != 4 * static_cast<size_t>(image.info.colours_used) ||
      image.pixels.size() != image.StoredImageBytes() ||
      image.colour_table.size() + image.pixels.size() > file_size) {
    std::abort();
  }
}

void CheckRoundTrip(const converters::DibImage& image) {
  const std::vector<uint8_t> bytes = converters::DibFileBytes(image);
  const std::string path = (vidmetra::fuzz::ScratchFolder() / "again.bmp").string();
  if (!vidmetra::fuzz::WriteFile(path, bytes.data(), bytes.size())) return;
  converters::DibImage again;
  if (converters::ReadDibFile(path, again) != converters::DibLoad::kLoaded ||
      converters::DibHeaderBytes(again) != converters::DibHeaderBytes(image) || again.pixels != image.pixels) {
    std::abort();
  }
}

void Convert(const converters::DibImage& image) {
  const converters::PictureSize size{image.info.width, image.info.height};
  if (!converters::IsUsablePictureSize(size) || image.IsCompressed()) return;
  std::vector<uint8_t> frame(size.SequenceFrameBytes());
  if (image.IsBgr24Of(size)) {
    converters::SequenceFrameFromBgr(size).Convert(image.pixels.data(), image.Stride(), frame.data());
  } else if (image.info.bit_count == 8) {
    converters::SequenceFrameFromIndices(size, image.pixels.data(), image.Stride(), frame.data());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vidmetra::fuzz::WriteInput(data, size, ".bmp")) return 0;
  converters::DibImage image;
  if (converters::ReadDibFile(vidmetra::fuzz::InputFile(".bmp"), image) != converters::DibLoad::kLoaded) return 0;
  CheckShape(image, size);
  CheckRoundTrip(image);
  Convert(image);
  return 0;
}
