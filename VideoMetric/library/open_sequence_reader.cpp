#include "vidmetra/open_sequence_reader.h"

#include "vidmetra/avi_reader.h"
#include "vidmetra/bmp_reader.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/file_name_ending.h"
#include "vidmetra/media_file_reader.h"
#include "vidmetra/raw_yuv_reader.h"
#include "vidmetra/reader_registry.h"

namespace vidmetra {
namespace {

std::unique_ptr<SequenceReader> OpenRawYuv(const ReaderRequest& request, std::string& failure) {
  auto reader = std::make_unique<RawYuvReader>();
  const int status =
      reader->Open(request.name, RawColourMode(request.name, request.colour_space), request.width, request.height);
  return KeepIfOpened(std::move(reader), status, failure);
}

std::unique_ptr<SequenceReader> OpenAvi(const ReaderRequest& request, std::string& failure) {
  auto reader = std::make_unique<AviReader>();
  const int status = reader->Open(request.name, request.prefer_yv12, false);
  return KeepIfOpened(std::move(reader), status, failure);
}

std::unique_ptr<SequenceReader> OpenAvs(const ReaderRequest& request, std::string& failure) {
  auto reader = std::make_unique<AviReader>();
  const int status = reader->Open(request.name, request.prefer_yv12, true);
  return KeepIfOpened(std::move(reader), status, failure);
}

std::unique_ptr<SequenceReader> OpenBmp(const ReaderRequest& request, std::string& failure) {
  auto reader = std::make_unique<BmpReader>();
  const int status = reader->Open(request.name);
  return KeepIfOpened(std::move(reader), status, failure);
}

std::unique_ptr<SequenceReader> OpenMedia(const ReaderRequest& request, std::string& failure) {
  auto reader = std::make_unique<MediaFileReader>();
  const int status = reader->Open(request.name);
  return KeepIfOpened(std::move(reader), status, failure);
}

ReaderRegistry MakeDefaultRegistry() {
  ReaderRegistry registry({.kind = "raw YUV", .endings = {"yuv", "seq"}, .open = OpenRawYuv});
  registry.Register({.kind = "AVI", .endings = {"avi"}, .probe = LooksLikeAvi, .open = OpenAvi});
  // Scripts are text: nothing in their first bytes says what they are.
  registry.Register({.kind = "AviSynth+ script", .endings = {"avs"}, .open = OpenAvs});
  registry.Register({.kind = "BMP", .endings = {"bmp"}, .probe = LooksLikeBmp, .open = OpenBmp});
  // Last, so that its probe, which knows every container libavformat knows, only sees what the others refused.
  registry.Register({.kind = "FFmpeg media",
                     .endings = {MediaFileEndings().begin(), MediaFileEndings().end()},
                     .probe = LooksLikeMedia,
                     .open = OpenMedia});
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
                                                   int colour_space, bool prefer_yv12, std::string* failure) {
  return DefaultReaderRegistry().Open(
      {.name = name, .width = width, .height = height, .colour_space = colour_space, .prefer_yv12 = prefer_yv12},
      failure);
}

}  // namespace vidmetra
