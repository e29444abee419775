#include "packfidelity.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

template <typename... Args>
std::string Printed(const char* format, Args... args) {
  char text[512];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

}  // namespace

double LumaSnr(const uint8_t* original, const uint8_t* compared, size_t pixels) {
  uint64_t sum = 0;
  for (size_t k = 0; k < pixels; ++k) {
    const int difference = original[k] - compared[k];
    sum += static_cast<uint64_t>(difference * difference);
  }
  const double mse = static_cast<double>(sum) / static_cast<double>(pixels);
  return mse != 0 ? 10 * std::log10(65025 / mse) : 99.99;
}

namespace {

// Compares frame by frame into `report`; false when the report could not be written.
bool CompareFrames(const FieldValues& values, CFile& original, CFile& compared, CFile& report) {
  const PictureSize size = values.Size();
  std::vector<uint8_t> original_frame(size.SequenceFrameBytes());
  std::vector<uint8_t> compared_frame(size.SequenceFrameBytes());
  const FrameRange range = values.Range(0);
  const uint64_t start = size.SequenceFrameOffset(static_cast<uint64_t>(range.first));
  if (!original.Seek(start) || !compared.Seek(start)) return true;
  double total = 0;
  int count = 0;
  for (long long d = 0; d <= range.last - range.first; ++d) {
    if (!original.ReadAll(original_frame.data(), original_frame.size()) ||
        !compared.ReadAll(compared_frame.data(), compared_frame.size())) {
      break;
    }
    const double snr = LumaSnr(original_frame.data(), compared_frame.data(), size.Pixels());
    if (!report.WriteText(Printed("frame num %d:", count) + Printed("%f\n", snr))) return false;
    total += snr;
    ++count;
  }
  // With no frame compared there is no average to state.
  return count == 0 || report.WriteText(Printed("average snr of the total %d frames is:%f\n", count, total / count));
}

std::string ComputeFidelity(const FieldValues& values, RunProgress& /*progress*/) {
  if (!IsUsablePictureSize(values.Size())) return kWrongPictureSize;
  CFile original, compared, report;
  if (!original.Open(values.Text("orig"), "rb")) return "open orign seq file error!";
  if (!compared.Open(values.Text("dest"), "rb")) return "open dest seq file error!";
  if (!report.Open(values.Text("result"), "w")) return "openresult file error!";
  bool written = report.WriteText(Printed("orign seq file:%s\n", values.Text("orig").c_str())) &&
                 report.WriteText(Printed("dest seq file:%s\n", values.Text("dest").c_str()));
  try {
    written = written && CompareFrames(values, original, compared, report);
  } catch (const std::bad_alloc&) {
    return "snrfun class intialize fail!";
  }
  return written && report.Close() ? kOkMessage : "write file error";
}

}  // namespace

ToolDescription PackFidelityTool() {
  return ToolDescription{"packfidelity", "Compute", false,
                         Fields({{OpenFileField("orig", "orign seq file:", kSeqFilter, "the original sequence"),
                                  OpenFileField("dest", "dest seq file:", kSeqFilter, "the sequence compared with it")},
                                 RangeFields(),
                                 SizeFields("picture size:", "width:", "height:"),
                                 {SaveFileField("result", "result file:", "文本文件(*.txt)", "txt",
                                                "the report of signal-to-noise ratios to write")}}),
                         ComputeFidelity};
}

}  // namespace vidmetra::converters
