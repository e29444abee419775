#include "bitmapgroup.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string GroupBitmaps(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsableBitmapSize(size)) return kWrongBitmapSize;
  CFile group;
  if (!group.Open(values.Text("gbmp"), "wb")) return "unable to open gbmp file.";
  DibImage image;
  const FrameRange range = values.Range(0);
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    const std::string name = values.FrameName(i) + ".bmp";
    const DibLoad load = ReadDibFile(values.Text("dir") + name, image);
    if (load == DibLoad::kMissing) continue;
    if (load == DibLoad::kInvalid) return UnreadableBmpMessage(name);
    if (!image.IsBgr24Of(size)) return MismatchedBmpMessage(name);
    // Rows go in without their padding, so that a group frame is 3 × width × height bytes for every width.
    for (int row = 0; row < size.height; ++row) {
      const uint8_t* stored = image.pixels.data() + static_cast<size_t>(row) * image.Stride();
      if (!group.WriteAll(stored, size.TightBgrRowBytes())) return "write file error";
    }
  }
  return group.Close() ? kOkMessage : "write file error";
}

}  // namespace

ToolDescription BitmapGroupTool() {
  return ToolDescription{"bitmapgroup", "Convert", false,
                         Fields({{InputFolderField("dir", "BMP文件所在目录：", kBmpFilter), NameField("文件名：", "")},
                                 RangeFields(),
                                 {DigitsField(), NoteField(kPlaceholderNote)},
                                 SizeFields("图象尺寸：", "宽", "高"),
                                 {SaveFileField("gbmp", "GBMP文件所在路径：", "GBMP文件(*.gbmp)", "gbmp",
                                                "the group-BMP file to write")}}),
                         GroupBitmaps};
}

}  // namespace vidmetra::converters
