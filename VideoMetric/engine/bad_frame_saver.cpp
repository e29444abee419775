#include "vidmetra/bad_frame_saver.h"

#include <algorithm>
#include <array>
#include <new>

#include "vidmetra/bad_frame_selection.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/output_name.h"
#include "vidmetra/video_output.h"
#include "vidmetra/yuv_to_bgr_bytes.h"

namespace vidmetra {
namespace {

// Every input file of the run's series, each once, in the order the series list them.
std::vector<InputFileEntry> SeriesFiles(const ResultStore& store) {
  std::vector<InputFileEntry> files;
  for (const int32_t id : store.SeriesIds()) {
    for (const InputFileEntry& file : store.Series(id)->files) {
      const bool known = std::any_of(files.begin(), files.end(), [&](const InputFileEntry& f) { return f.path == file.path; });
      if (!known) files.push_back(file);
    }
  }
  return files;
}

void FlipRows(std::vector<uint8_t>& bitmap, int64_t row_bytes, int height) {
  for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(bitmap.begin() + top * row_bytes, bitmap.begin() + (top + 1) * row_bytes,
                     bitmap.begin() + bottom * row_bytes);
  }
}

}  // namespace

std::string BadFramePictureName(const std::string& input_path, int32_t frame, int32_t frame_count) {
  const std::string digits = std::to_string(frame);
  const size_t width = std::to_string(frame_count).size();
  const std::string padded = std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
  return std::string(BaseNameOf(input_path)) + "_fr_" + padded + ".bmp";
}

BadFrameSaver::BadFrameSaver(const BadFrameSettings& settings, int32_t colour_matrix, const MetricCatalogue& catalogue,
                             ReaderOpener& opener, const TextStamp& stamp)
    : settings_(settings), colour_matrix_(colour_matrix), catalogue_(catalogue), opener_(opener),
      painter_(stamp, catalogue) {}

std::vector<int32_t> BadFrameSaver::SaveBadFrames(const ResultStore& store) {
  all_saved_ = true;
  files_written_.clear();
  const std::vector<int32_t> ids = store.SeriesIds();
  if (ids.empty()) return {};
  const CatalogueEntry* entry = catalogue_.Entry(store.Series(ids.front())->metric_index);
  const SelectionRule rule{settings_.mode, entry != nullptr && entry->higher_is_better, settings_.count,
                           settings_.radius};
  const std::array<std::string, 3> paths{settings_.inputs[0].path, settings_.inputs[1].path, settings_.inputs[2].path};
  const std::vector<int32_t> chosen = SelectBadFrames(CandidatesFor(store, BadFrameRoles(store, paths)), rule);
  if (chosen.empty()) return chosen;

  const std::vector<InputFileEntry> files = SeriesFiles(store);
  std::vector<std::unique_ptr<SequenceReader>> readers;
  for (const InputFileEntry& file : files) readers.push_back(opener_.Open(file));
  const int32_t frame_count = store.FrameCount().value_or(0);
  size_t written = 0;
  for (const int32_t frame : chosen) {
    for (size_t i = 0; i < files.size(); ++i) {
      if (SavePicture(readers[i].get(), files[i], frame, frame_count, store)) ++written;
    }
  }
  all_saved_ = written == chosen.size() * files.size();
  return chosen;
}

bool BadFrameSaver::SavePicture(SequenceReader* reader, const InputFileEntry& file, int32_t frame,
                                int32_t frame_count, const ResultStore& store) {
  if (reader == nullptr || reader->ReadFrame(decoded_, frame) != 0 || !ToBitmap(decoded_)) return false;
  const int width = decoded_.width();
  const int height = decoded_.height();
  const bool original = file.path == settings_.inputs[0].path;
  painter_.Draw({bitmap_.data(), width, height, static_cast<ptrdiff_t>(row_bytes_)}, frame, store.ValuesAt(frame),
                original, settings_.caption, store);
  const std::string path = JoinFolder(settings_.output_folder, BadFramePictureName(file.path, frame, frame_count));
  VideoOutput output;
  const bool written = output.OpenByName(path, width, height) && output.Write(bitmap_.data());
  if (!output.Close() || !written) return false;
  files_written_.push_back(path);
  return true;
}

// The picture as a bottom-up 24-bit bitmap. YUV pictures go through the run's colour matrix, as the metric saw
// them; their rows come out top first and are turned to lie as a bitmap's do.
bool BadFrameSaver::ToBitmap(const VideoFrame& decoded) {
  const int width = decoded.width();
  const int height = decoded.height();
  if (!decoded.HasPixels()) return false;
  row_bytes_ = RowBytes(kRgb24, width);
  try {
    bitmap_.assign(static_cast<size_t>(row_bytes_ * height), 0);
    if (!IsYuvLike(decoded.colour_space())) {
      if (!converted_.ConvertFrom(decoded, kRgb24, 0, false)) return false;
      converted_.ExportTight(bitmap_.data());
      return true;
    }
    if (!converted_.ConvertFrom(decoded, kYuv, 0, false)) return false;
    planar_.resize(static_cast<size_t>(TightFrameBytes(kYuv, width, height)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  converted_.ExportTight(planar_.data());
  YuvToBgrBytes(planar_.data(), bitmap_.data(), width, height, static_cast<int>(row_bytes_), colour_matrix_);
  FlipRows(bitmap_, row_bytes_, height);
  return true;
}

}  // namespace vidmetra
