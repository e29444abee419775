#include "packtrim.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string CutSequence(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  CFile source;
  if (!source.Open(values.Text("seq"), "rb")) return "unable to open source seq file.";
  std::vector<uint8_t> frame;
  if (!ResizeBuffer(frame, size.SequenceFrameBytes())) return "unable to malloc mem to lp_yuv.";
  CFile cut;
  if (!cut.Open(values.Text("out"), "wb")) return "unable to open cut seq file.";
  const FrameRange range = values.Range(0);
  if (range.first != 0 && !source.Seek(size.SequenceFrameOffset(static_cast<uint64_t>(range.first)))) {
    return "fseek error!";
  }
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    if (!source.ReadAll(frame.data(), frame.size())) break;
    if (!cut.WriteAll(frame.data(), frame.size())) return "write file error";
  }
  return cut.Close() ? kOkMessage : "write file error";
}

}  // namespace

ToolDescription PackTrimTool() {
  return ToolDescription{
      "packtrim", "Cut", false,
      Fields({{OpenFileField("seq", "原Seq文件所在路径：", kSeqFilter, "the sequence to cut")},
              SizeFields("每帧画面尺寸：", "宽", "高"),
              RangeFields("", "cut from:", "to:"),
              {SaveFileField("out", "剪切后的Seq文件所在目录：", kSeqFilter, "seq", "the cut sequence to write")}}),
      CutSequence};
}

}  // namespace vidmetra::converters
