#include "bitmapgroup.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/numbered_bitmaps.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string GroupBitmaps(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsableBitmapSize(size)) return kWrongBitmapSize;
  CFile group;
  if (!group.Open(values.Text("gbmp"), "wb")) return "unable to open gbmp file.";
  const std::string message =
      ForEachNumberedBitmap(values, values.Range(0), MissingBitmap::kIsSkipped, progress,
                            [&](const std::string& name, const DibImage& image) -> std::string {
                              if (!image.IsBgr24Of(size)) return MismatchedBmpMessage(name + ".bmp");
                              // Rows go in without their padding, so that a group frame is 3 × width × height bytes for
                              // every width.
                              for (int row = 0; row < size.height; ++row) {
                                const uint8_t* stored = image.pixels.data() + static_cast<size_t>(row) * image.Stride();
                                if (!group.WriteAll(stored, size.TightBgrRowBytes())) return "write file error";
                              }
                              return {};
                            });
  if (!message.empty()) return message;
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
