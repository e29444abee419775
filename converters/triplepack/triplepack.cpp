#include "triplepack.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/plane_files.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string PackPlaneFiles(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  PlaneFiles planes(false);
  if (std::string failure = planes.Allocate(size); !failure.empty()) return failure;
  CFile sequence;
  if (!sequence.Open(values.Text("seq"), "wb")) return "unable to open seq file.";
  const std::string& folder = values.Text("dir");
  const FrameRange range = values.Range(0);
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    if (std::string failure = planes.Read({folder, folder, folder}, values.FrameName(i)); !failure.empty()) {
      return failure;
    }
    for (size_t k = 0; k < 3; ++k) {
      if (!sequence.WriteAll(planes.Plane(k).data(), planes.Plane(k).size())) return "write file error";
    }
  }
  return sequence.Close() ? kOkMessage : "write file error";
}

}  // namespace

ToolDescription TriplePackTool() {
  return ToolDescription{
      "triplepack", "Convert", false,
      Fields({{InputFolderField("dir", "YUV文件所在目录：", "YUV文件(*.y *.u *.v)"),
               NameField("YUV文件名：", "例如foreman(*),不要加扩展名"),
               NoteField("Y、U、V分量文件的扩展名分别为.y、.u、.v"), NoteField(kPlaceholderNote)},
              RangeFields(),
              {DigitsField()},
              SizeFields("", "图像尺寸：宽", "高"),
              {SaveFileField("seq", "SEQ文件所在路径：", kSeqFilter, "seq", "the sequence file to write")}}),
      PackPlaneFiles};
}

}  // namespace vidmetra::converters
