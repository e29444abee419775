#include "planeunpack.h"

#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/plane_files.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_colour.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string UnpackPlanes(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  DibImage bitmap = DibImage::Bgr24(size);
  PlaneFiles planes(true);
  if (std::string failure = planes.Allocate(size); !failure.empty()) return failure;
  const std::array<std::string, 3> folders{values.Text("y-dir"), values.Text("u-dir"), values.Text("v-dir")};
  const FrameRange range = values.Range(0);
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    const std::string name = values.FrameName(i);
    if (std::string failure = planes.Read(folders, name); !failure.empty()) return failure;
    SequencePlanesToBgr(size, planes.Plane(0).data(), planes.Plane(1).data(), planes.Plane(2).data(),
                        bitmap.pixels.data(), bitmap.Stride());
    if (!WriteDibFile(values.Text("bmp-dir") + name + ".bmp", bitmap)) return UnwritableBmpMessage(name + ".bmp");
  }
  return kOkMessage;
}

FieldSpec PlaneFolderField(const std::string& key, const std::string& label, const std::string& letter) {
  FieldSpec field = InputFolderField(key, label, letter + "文件(*." + letter + ")");
  field.help = "folder of the numbered ." + letter + " files, put before each name exactly as given (end it with /)";
  return field;
}

}  // namespace

ToolDescription PlaneUnpackTool() {
  return ToolDescription{
      "planeunpack", "Convert", false,
      Fields({{PlaneFolderField("y-dir", "Y文件所在目录：", "Y"), PlaneFolderField("u-dir", "U文件所在目录：", "U"),
               PlaneFolderField("v-dir", "V文件所在目录：", "V"), OutputFolderField("bmp-dir", "BMP文件所在目录:"),
               NameField("文件名：", "例如：seq(*)")},
              RangeFields(),
              {DigitsField()},
              SizeFields("", "图象尺寸：宽", "高")}),
      UnpackPlanes};
}

}  // namespace vidmetra::converters
