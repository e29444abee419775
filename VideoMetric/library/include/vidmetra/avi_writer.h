#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vidmetra/avi_muxer.h"
#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/compressor_chooser.h"
#include "vidmetra/compressor_settings.h"
#include "vidmetra/growable_buffer.h"
#include "vidmetra/sequence_writer.h"
#include "vidmetra/stream_source.h"
#include "vidmetra/video_compressor.h"

namespace vidmetra {

inline constexpr const char* kAviStreamName = "Created by OrvVideoLibrary orvVideoFile";

// Writes an AVI file with one video stream of 24-bit bottom-up RGB frames, stored uncompressed or through a
// compressor of the catalogue, and optionally a second stream copied sample by sample from another file.
class AviWriter final : public SequenceWriter {
 public:
  enum Status : int {
    kOk = 0,
    kCompressorError = 1,
    kCreateFailed = 2,
    kStreamFailed = 3,
    kCompressFailed = 4,
    kFormatFailed = 5,
    kStartFailed = 6,
    kNoMemory = 7,
    kBadFrameNumber = 8,
    kWriteFailed = 9,
    kNullPointer = 10,
  };

  // Prepares the stream description and opens the compressor of `settings`; one that cannot be opened
  // leaves the writer uncompressed. `secondary` must outlive the writer.
  AviWriter(int width, int height, int scale, int rate, StreamSource* secondary, const CompressorSettings& settings);
  ~AviWriter() override { Close(); }

  int Open(const std::string& name);
  int WriteFrame(const VideoFrame& frame) override;
  int WriteRaw(const uint8_t* buffer) override;
  // Makes `frame` the number of the next frame written, leaving the samples before it empty. Only forward, and
  // only for an uncompressed writer without a second stream: a compressor numbers its frames consecutively, and
  // the second stream's samples in the gap would be lost. kBadFrameNumber otherwise.
  int SkipTo(int64_t frame);
  std::string Describe(size_t capacity = kTextCapacity) const override;
  std::string ErrorText(int code, size_t capacity = kTextCapacity) const override;
  // Hands out the frames a compressor still holds, then completes the file; kWriteFailed when that fails.
  int Close() override;

  bool compressing() const { return compressor_ != nullptr; }
  const StreamInfo& video_info() const { return video_info_; }
  const CompressorSettings& settings() const { return settings_; }

 private:
  int OpenStreams();
  int OpenSecondaryStream();
  int BeginCompression();
  int AllocateBuffers();
  int WriteCompressed(const uint8_t* buffer);
  int CopySecondarySample();
  bool DrainCompressor();

  AviMuxer muxer_;
  std::unique_ptr<VideoCompressor> compressor_;
  StreamSource* secondary_source_ = nullptr;
  StreamInfo video_info_;
  CompressorSettings settings_;
  BitmapInfoHeader input_format_;
  std::vector<uint8_t> output_format_;
  GrowableBuffer previous_frame_;
  GrowableBuffer input_frame_;
  GrowableBuffer secondary_sample_;
  int secondary_stream_ = -1;
  int64_t last_compressed_size_ = 0;
  std::string name_;
  int width_ = 0;
  int height_ = 0;
  int64_t row_bytes_ = 0;
  int64_t next_frame_ = -1;
  int64_t skipped_ = 0;
};

// A writer opened for `name`, or null: width, height, scale and rate must all be at least 1.
std::unique_ptr<AviWriter> CreateAviWriter(const std::string& name, int width, int height, int scale, int rate,
                                           StreamSource* secondary_source, const CompressorSettings& compressor);
// The same after asking the user to choose the compressor.
std::unique_ptr<AviWriter> CreateAviWriter(const std::string& name, int width, int height, int scale, int rate,
                                           StreamSource* secondary_source, CompressorChooser& chooser);

}  // namespace vidmetra
