#include "grouppack.h"

#include <new>

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_colour.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string ConvertFrames(const FieldValues& values, PictureSize size, FrameRange range, CFile& group, CFile& sequence,
                          RunProgress& progress) {
  std::vector<uint8_t> bgr;
  if (!ResizeBuffer(bgr, size.GroupFrameBytes())) return "unable to malloc mem to lp_bmp.";
  if (!sequence.Open(values.Text("seq"), "wb")) return "unable to open seq file.";
  std::vector<uint8_t> frame;
  if (!ResizeBuffer(frame, size.SequenceFrameBytes())) return "unable to malloc mem to lp_seq.";
  if (range.first != 0 && !group.Seek(static_cast<uint64_t>(range.first) * size.GroupFrameBytes())) {
    return "fseek error!";
  }
  SequenceFrameFromBgr converter(size);
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    if (!group.ReadAll(bgr.data(), bgr.size())) break;
    // Group frames hold tight rows, bottom-up as in the bitmaps they came from.
    converter.Convert(bgr.data(), size.TightBgrRowBytes(), frame.data());
    if (!sequence.WriteAll(frame.data(), frame.size())) return "write file error";
  }
  return sequence.Close() ? kOkMessage : "write file error";
}

std::string PackGroup(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  CFile group;
  if (!group.Open(values.Text("gbmp"), "rb")) return "unable to open group_bmp file.";
  CFile sequence;
  try {
    return ConvertFrames(values, size, values.Range(kAllFileFrames), group, sequence, progress);
  } catch (const std::bad_alloc&) {
    return "unable to malloc mem to lp_Y.";
  }
}

}  // namespace

ToolDescription GroupPackTool() {
  return ToolDescription{
      "grouppack", "Convert", false,
      Fields(
          {{OpenFileField("gbmp", "Group_BMP文件所在路径：", "Group_BMP文件(*.gbmp)", "the group-BMP file to convert")},
           RangeFields("所有帧"),
           SizeFields("每帧画面尺寸：", "宽", "高"),
           {SaveFileField("seq", "seq文件所在目录：", "seq序列文件(*.seq)", "seq", "the sequence file to write")}}),
      PackGroup};
}

}  // namespace vidmetra::converters
