#include "vidmetra/converters/reel_file.h"

#include "vidmetra/avi_writer.h"
#include "vidmetra/compressor_settings.h"

namespace vidmetra::converters {
namespace {

constexpr int kScale = 1;
constexpr int kFramesPerSecond = 25;

}  // namespace

ReelFile::ReelFile() = default;
ReelFile::~ReelFile() = default;

std::string ReelFile::Open(const std::string& path, PictureSize size) {
  // Settings naming no compressor leave the stream uncompressed.
  writer_ =
      std::make_unique<AviWriter>(size.width, size.height, kScale, kFramesPerSecond, nullptr, CompressorSettings{});
  const int status = writer_->Open(path);
  if (status == AviWriter::kOk) return {};
  const std::string failure = Failure(status);
  writer_.reset();
  return failure;
}

std::string ReelFile::Write(const uint8_t* bottom_up_rows) {
  const int status = writer_->WriteRaw(bottom_up_rows);
  return status == AviWriter::kOk ? std::string() : Failure(status);
}

std::string ReelFile::Close() {
  const int status = writer_->Close();
  return status == AviWriter::kOk ? std::string() : Failure(status);
}

std::string ReelFile::Failure(int status) const { return writer_->ErrorText(status); }

}  // namespace vidmetra::converters
