#include "vidmetra/open_sequence_reader.h"

#include "vidmetra/colour_space.h"
#include "vidmetra/file_name_ending.h"
#include "vidmetra/raw_yuv_reader.h"

namespace vidmetra {

ReaderKind SelectReaderKind(std::string_view name, int width, int height) {
  if (width > 0 && height > 0) return ReaderKind::kRawYuv;
  if (width != 0 || height != 0) return ReaderKind::kNone;
  if (HasEnding(name, "avi")) return ReaderKind::kAviContainer;
  if (HasEnding(name, "avs")) return ReaderKind::kAviService;
  if (HasEnding(name, "bmp")) return ReaderKind::kBmp;
  return ReaderKind::kNone;
}

int RawColourMode(std::string_view name, int colour_space) {
  return HasEnding(name, "seq") ? kIyuv : colour_space;
}

std::unique_ptr<SequenceReader> OpenSequenceReader(const std::string& name, int width, int height,
                                                   int colour_space, bool /*prefer_yv12*/) {
  switch (SelectReaderKind(name, width, height)) {
    case ReaderKind::kRawYuv: {
      auto reader = std::make_unique<RawYuvReader>();
      if (reader->Open(name, RawColourMode(name, colour_space), width, height) != 0) return nullptr;
      return reader;
    }
    // The AVI and BMP readers are not part of the library yet; their files cannot be opened until they are.
    case ReaderKind::kAviContainer:
    case ReaderKind::kAviService:
    case ReaderKind::kBmp:
    case ReaderKind::kNone:
      return nullptr;
  }
  return nullptr;
}

}  // namespace vidmetra
