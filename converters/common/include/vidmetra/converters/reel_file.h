#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "vidmetra/converters/picture_size.h"

namespace vidmetra {
class AviWriter;
}

namespace vidmetra::converters {

// The AVI file the reel tools write: one uncompressed stream of 24-bit bottom-up frames at 25 frames per second,
// every sample a key frame, through the video library's writer. Each method returns the message for the run:
// empty while all is well, the writer's error text otherwise. Write and Close follow a successful Open. A file
// left unclosed is still completed, so what was written before a failure stays readable.
class ReelFile {
 public:
  ReelFile();
  ~ReelFile();
  ReelFile(const ReelFile&) = delete;
  ReelFile& operator=(const ReelFile&) = delete;

  // Creates or replaces `path`.
  std::string Open(const std::string& path, PictureSize size);
  // Stores one frame of padded rows (PictureSize::PaddedBgrRowBytes() apart) as the next sample.
  std::string Write(const uint8_t* bottom_up_rows);
  std::string Close();

 private:
  std::string Failure(int status) const;

  std::unique_ptr<AviWriter> writer_;
};

}  // namespace vidmetra::converters
