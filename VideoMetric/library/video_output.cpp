#include "vidmetra/video_output.h"

#include "vidmetra/avi_writer.h"
#include "vidmetra/bmp_writer.h"
#include "vidmetra/file_name_ending.h"

namespace vidmetra {

bool VideoOutput::Fail(int32_t error) {
  error_ = error;
  return false;
}

bool VideoOutput::Opened(std::unique_ptr<SequenceWriter> writer) {
  if (!writer) return Fail(kWriterFailed);
  writer_ = std::move(writer);
  is_open_ = true;
  frames_written_ = 0;
  return true;
}

bool VideoOutput::OpenWithSettings(const std::string& name, int width, int height, int scale, int rate,
                                   const CompressorSettings& settings) {
  if (is_open_) return Fail(kAlreadyOpen);
  if (width < 1 || height < 1 || scale < 1 || rate < 1) return Fail(kBadSize);
  return Opened(CreateAviWriter(name, width, height, scale, rate, secondary_source_, settings));
}

bool VideoOutput::OpenByName(const std::string& name, int width, int height) {
  if (is_open_) return Fail(kAlreadyOpen);
  if (HasEnding(name, "bmp")) return Opened(CreateBmpWriter(name, width, height));
  if (width < 1 || height < 1) return Fail(kBadSize);
  return Opened(CreateAviWriter(name, width, height, kDefaultScale, kDefaultRate, secondary_source_,
                                CompressorSettings{}));
}

bool VideoOutput::Write(const uint8_t* buffer) {
  if (!is_open_) return Fail(kNotOpen);
  last_writer_status_ = writer_->WriteRaw(buffer);
  if (last_writer_status_ != 0) return Fail(kWriterFailed);
  ++frames_written_;
  return true;
}

bool VideoOutput::Close() {
  const bool closed = !writer_ || writer_->Close() == 0;
  writer_.reset();
  is_open_ = false;
  return closed;
}

}  // namespace vidmetra
