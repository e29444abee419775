#include "planepack.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string PackFrameFiles(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  std::vector<uint8_t> frame;
  if (!ResizeBuffer(frame, size.SequenceFrameBytes())) return "Couldn't allocate memory to y\n";
  CFile sequence;
  if (!sequence.Open(values.Text("seq"), "wb")) return "unable to open seq file.";
  const FrameRange range = values.Range(0);
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    const std::string name = values.FrameName(i);
    CFile input;
    if (!input.Open(values.Text("dir") + name, "rb")) return "unable to open yuv file" + name;
    if (!input.ReadAll(frame.data(), frame.size())) return "read file error";
    if (!sequence.WriteAll(frame.data(), frame.size())) return "write file error";
  }
  return sequence.Close() ? kOkMessage : "write file error";
}

}  // namespace

ToolDescription PlanePackTool() {
  return ToolDescription{
      "planepack", "Convert", false,
      Fields(
          {{InputFolderField("dir", "YUV文件所在目录：", "YUV文件(*.*)"), NameField("YUV文件名：", "例如foreman.(*)")},
           RangeFields(),
           {DigitsField()},
           SizeFields("", "图像尺寸：宽", "高"),
           {SaveFileField("seq", "SEQ文件所在路径：", kSeqFilter, "seq", "the sequence file to write")}}),
      PackFrameFiles};
}

}  // namespace vidmetra::converters
