#include "vidmetra/caption_painter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "vidmetra/colour_component.h"
#include "vidmetra/output_name.h"

namespace vidmetra {
namespace {

constexpr int kLineSpacing = 15;
constexpr int kMargin = 15;
constexpr int kRightRoom = 150;
constexpr int kBottomRoom = 80;
constexpr int kProductOffset = 40;

void AppendNumber(std::string& text, int64_t number) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  text.append(digits, end);
}

// As a default-formatted stream writes a float: up to six significant digits.
void AppendValue(std::string& text, float value) {
  char digits[32];
  const int length = std::snprintf(digits, sizeof digits, "%g", static_cast<double>(value));
  text.append(digits, static_cast<size_t>(std::clamp(length, 0, static_cast<int>(sizeof digits) - 1)));
}

}  // namespace

std::pair<int, int> CaptionAnchor(int32_t position, int width, int height) {
  const int right = std::max(width - kRightRoom, 0);
  const int bottom = std::max(height - kBottomRoom, 0);
  switch (position) {
    case kBottomLeft: return {kMargin, bottom};
    case kTopRight: return {right, kMargin};
    case kBottomRight: return {right, bottom};
    default: return {kMargin, kMargin};
  }
}

void CaptionPainter::Line(const CaptionCanvas& canvas, int x, int y) {
  stamp_.Stamp(canvas, x + 1, y + 1, line_.data(), line_.size(), kCaptionShadow);
  stamp_.Stamp(canvas, x, y, line_.data(), line_.size(), kCaptionText);
}

void CaptionPainter::StartValueLine(const ResultStore& store, int32_t id) {
  line_.clear();
  const SeriesInfo* info = store.Series(id);
  if (info == nullptr) return;
  if (info->metric_index != title_index_) {
    title_ = titles_.Title(info->metric_index);
    title_index_ = info->metric_index;
  }
  line_.append(title_).append(" ").append(ColourComponentName(info->component)).append(": ");
}

void CaptionPainter::Draw(const CaptionCanvas& canvas, int32_t frame_number, const FrameResult& result,
                          bool reference, const CaptionSettings& settings, const ResultStore& store) {
  auto [x, y] = CaptionAnchor(settings.position, canvas.width, canvas.height);
  constexpr char kMark[] = "Zyr";
  constexpr char kProduct[] = "VIDEO QUALITY MEASUREMENT";
  stamp_.Stamp(canvas, x, y, kMark, sizeof kMark - 1, kCaptionMark);
  stamp_.Stamp(canvas, x + kProductOffset + 1, y + 1, kProduct, sizeof kProduct - 1, kCaptionShadow);
  stamp_.Stamp(canvas, x + kProductOffset, y, kProduct, sizeof kProduct - 1, kCaptionText);
  if (settings.print_frame_number) {
    y += kLineSpacing;
    line_.assign("Frame: ");
    AppendNumber(line_, frame_number);
    Line(canvas, x, y);
  }
  if (!settings.print_metric_value || result.empty()) return;
  if (reference) {
    StartValueLine(store, result.front().id);
    line_.append("Original");
    Line(canvas, x, y + kLineSpacing);
    return;
  }
  for (const ResultValue& value : result) {
    // Every line carries the title of the first pair's series.
    StartValueLine(store, result.front().id);
    const SeriesInfo* info = store.Series(value.id);
    static const std::vector<InputFileEntry> kNoFiles;
    const std::vector<InputFileEntry>& files = info != nullptr ? info->files : kNoFiles;
    for (size_t i = 0; i < files.size(); ++i) line_.append(i == 0 ? "" : ", ").append(BaseNameOf(files[i].path));
    line_.append(" ");
    AppendValue(line_, value.value);
    y += kLineSpacing;
    Line(canvas, x, y);
  }
}

}  // namespace vidmetra
