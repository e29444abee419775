#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "vidmetra/compressor_settings.h"
#include "vidmetra/sequence_writer.h"
#include "vidmetra/stream_source.h"

namespace vidmetra {

// Holds the writer of one output file, chosen by the name, and counts the frames written to it.
class VideoOutput {
 public:
  enum Error : int32_t { kNone = 0, kAlreadyOpen = 2, kBadSize = 4, kNotOpen = 6, kWriterFailed = 8 };

  // Frames per second of a visualization video, and of a video opened by name (29.97).
  static constexpr int kVisualizationScale = 1;
  static constexpr int kVisualizationRate = 25;
  static constexpr int kDefaultScale = 100;
  static constexpr int kDefaultRate = 2997;

  // An AVI file through the given compressor (uncompressed when it cannot be opened).
  bool OpenWithSettings(const std::string& name, int width, int height, int scale, int rate,
                        const CompressorSettings& settings);
  // A BMP file for a name ending in "bmp", otherwise an uncompressed AVI file at 29.97 frames per second.
  bool OpenByName(const std::string& name, int width, int height);
  bool Write(const uint8_t* buffer);
  // False when the writer could not finish the file (its last bytes or its index were not written).
  bool Close();

  // Handed to AVI writers opened from now on; must outlive them.
  void SetSecondarySource(StreamSource* source) { secondary_source_ = source; }

  bool is_open() const { return is_open_; }
  int32_t frames_written() const { return frames_written_; }
  int32_t error() const { return error_; }
  int last_writer_status() const { return last_writer_status_; }
  // The open writer (for its texts), or null.
  const SequenceWriter* writer() const { return writer_.get(); }

 private:
  bool Fail(int32_t error);
  bool Opened(std::unique_ptr<SequenceWriter> writer);

  bool is_open_ = false;
  int32_t frames_written_ = 0;
  int32_t error_ = kNone;
  int last_writer_status_ = 0;
  std::unique_ptr<SequenceWriter> writer_;
  StreamSource* secondary_source_ = nullptr;
};

}  // namespace vidmetra
