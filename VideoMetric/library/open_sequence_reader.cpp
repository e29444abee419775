#include "vidmetra/open_sequence_reader.h"

#include "vidmetra/colour_space.h"
#include "vidmetra/file_name_ending.h"
#include "vidmetra/raw_yuv_reader.h"
#include "vidmetra/reader_registry.h"

namespace vidmetra {
namespace {

std::unique_ptr<SequenceReader> OpenRawYuv(const ReaderRequest& request) {
  auto reader = std::make_unique<RawYuvReader>();
  if (reader->Open(request.name, RawColourMode(request.name, request.colour_space), request.width,
                   request.height) != 0) {
    return nullptr;
  }
  return reader;
}

ReaderRegistry MakeDefaultRegistry() {
  ReaderRegistry registry({.kind = "raw YUV", .endings = {"yuv", "seq"}, .open = OpenRawYuv});
  return registry;
}

}  // namespace

int RawColourMode(std::string_view name, int colour_space) {
  return HasEnding(name, "seq") ? kIyuv : colour_space;
}

const ReaderRegistry& DefaultReaderRegistry() {
  static const ReaderRegistry registry = MakeDefaultRegistry();
  return registry;
}

std::unique_ptr<SequenceReader> OpenSequenceReader(const std::string& name, int width, int height,
                                                   int colour_space, bool prefer_yv12) {
  return DefaultReaderRegistry().Open(
      {.name = name, .width = width, .height = height, .colour_space = colour_space, .prefer_yv12 = prefer_yv12});
}

}  // namespace vidmetra
