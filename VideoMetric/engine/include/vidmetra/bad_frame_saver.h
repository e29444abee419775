#pragma once
// Saves the "bad frames" of a fully measured run: the chosen frames of every input, each as a captioned 24-bit
// bitmap named after its input and frame number.
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/caption_painter.h"
#include "vidmetra/measurement_driver.h"
#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/result_store.h"

namespace vidmetra {

// "<base name>_fr_<frame>.bmp" with the frame number padded by zeros to as many digits as `frame_count` has.
std::string BadFramePictureName(const std::string& input_path, int32_t frame, int32_t frame_count);

class BadFrameSaver {
 public:
  // The settings' inputs and caption are those of the run; `opener` reads the inputs again.
  BadFrameSaver(const BadFrameSettings& settings, int32_t colour_matrix, const MetricCatalogue& catalogue,
                ReaderOpener& opener, const TextStamp& stamp);

  // The chosen frames, in the order they were chosen. A picture that cannot be read, converted or written is
  // skipped; the others are still attempted.
  std::vector<int32_t> SaveBadFrames(const ResultStore& store);
  // Whether every picture of every chosen frame was written.
  bool AllSaved() const { return all_saved_; }
  const std::vector<std::string>& FilesWritten() const { return files_written_; }

 private:
  bool SavePicture(SequenceReader* reader, const InputFileEntry& file, int32_t frame, int32_t frame_count,
                   const ResultStore& store);
  bool ToBitmap(const VideoFrame& decoded);

  BadFrameSettings settings_;
  int32_t colour_matrix_;
  const MetricCatalogue& catalogue_;
  ReaderOpener& opener_;
  CaptionPainter painter_;
  bool all_saved_ = true;
  std::vector<std::string> files_written_;
  // Reused from picture to picture.
  VideoFrame decoded_;
  VideoFrame converted_;
  std::vector<uint8_t> planar_;
  std::vector<uint8_t> bitmap_;
  int64_t row_bytes_ = 0;
};

}  // namespace vidmetra
