#include "vidmetra/visualization_file.h"

#include <cstring>

#include "vidmetra/colour_space.h"
#include "vidmetra/file_name_ending.h"
#include "vidmetra/frame_conversions.h"
#include "vidmetra/output_name.h"

namespace vidmetra {

std::string VisualizationPath(const VisualizationSettings& settings, const std::vector<int32_t>& ids,
                              const ResultStore& store, const MetricCatalogue& catalogue) {
  if (settings.name_generation == kNameCustom) return JoinFolder(settings.output_folder, settings.custom_name);
  bool bitmap_input = false;
  for (const int32_t id : ids) {
    if (const SeriesInfo* info = store.Series(id)) {
      for (const InputFileEntry& file : info->files) bitmap_input = bitmap_input || HasEnding(file.path, "bmp");
    }
  }
  const std::string name = GeneratedName(store, ids, catalogue, settings.name_generation == kNamePostfix);
  return JoinFolder(settings.output_folder, name + (bitmap_input ? ".bmp" : ".avi"));
}

VisualizationFile::VisualizationFile(const VisualizationSettings& settings, const std::vector<int32_t>& result_ids,
                                     const ResultStore& store, const MetricCatalogue& catalogue,
                                     const TextStamp& stamp)
    : settings_(settings),
      result_ids_(result_ids),
      path_(VisualizationPath(settings, result_ids, store, catalogue)),
      painter_(stamp, catalogue) {}

bool VisualizationFile::Open() {
  const int width = settings_.width;
  const int height = settings_.height;
  if (width < 1 || height < 1 || width > VideoFrame::kMaxDimension || height > VideoFrame::kMaxDimension) return false;
  row_bytes_ = RowBytes(kRgb24, width);
  if (bitmap_.Ensure(static_cast<size_t>(row_bytes_ * height)) == nullptr) return false;
  // A bitmap holds one picture, which is all that a visualization of bitmap inputs has; writing an AVI file
  // under a ".bmp" name would leave a file that nothing opens as what its name says.
  if (HasEnding(path_, "bmp")) return output_.OpenByName(path_, width, height);
  return output_.OpenWithSettings(path_, width, height, VideoOutput::kVisualizationScale,
                                  VideoOutput::kVisualizationRate, settings_.compressor);
}

void VisualizationFile::WriteFrame(VideoFrame& image, int32_t frame_number, const FrameResult& result,
                                   const ResultStore& store) {
  if (!output_.is_open()) return;
  const int width = settings_.width;
  const int height = settings_.height;
  if (image.width() != width || image.height() != height || image.colour_space() != kRgb24 || !image.HasPixels()) {
    write_failed_ = true;
    return;
  }
  // The metric paints top row first; the bitmap keeps its rows bottom first. Flipping while copying spares a
  // pass over the picture and leaves the metric's picture as it was.
  const PlaneLayout plane = image.Plane(0);
  uint8_t* bitmap = bitmap_.data();
  for (int y = 0; y < height; ++y) {
    std::memcpy(bitmap + static_cast<ptrdiff_t>(height - 1 - y) * row_bytes_, PlaneRow(plane, y),
                static_cast<size_t>(3) * static_cast<size_t>(width));
  }
  painter_.Draw({bitmap, width, height, static_cast<ptrdiff_t>(row_bytes_)}, frame_number, result, false,
                settings_.caption, store);
  if (!output_.Write(bitmap)) write_failed_ = true;
}

bool VisualizationFile::Close() {
  if (!output_.is_open()) return !write_failed_;
  const bool closed = output_.Close();
  write_failed_ = write_failed_ || !closed;
  return !write_failed_;
}

}  // namespace vidmetra
