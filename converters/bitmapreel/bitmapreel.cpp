#include "bitmapreel.h"

#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/reel_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string ReelBitmaps(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsableBitmapSize(size)) return kWrongBitmapSize;
  ReelFile reel;
  if (std::string failure = reel.Open(values.Text("avi"), size); !failure.empty()) return failure;
  const FrameRange range = values.Range(kAllNumberedFiles);
  progress.Start(range.first, range.last);
  DibImage image;
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    const std::string name = values.FrameName(i) + ".bmp";
    const DibLoad load = ReadDibFile(values.Text("dir") + name, image);
    if (load == DibLoad::kMissing) break;
    if (load == DibLoad::kInvalid) return UnreadableBmpMessage(name);
    // The stream's format is fixed by the size fields; a picture of another kind would corrupt it.
    if (!image.IsBgr24Of(size)) return MismatchedBmpMessage(name);
    // Samples are numbered as the files are, so a range starting above 0 begins with empty samples.
    if (std::string failure = reel.Write(i, image.pixels.data()); !failure.empty()) return failure;
  }
  const std::string failure = reel.Close();
  return failure.empty() ? kOkMessage : failure;
}

}  // namespace

ToolDescription BitmapReelTool() {
  return ToolDescription{
      "bitmapreel", "Convert", true,
      Fields(
          {{InputFolderField("dir", "BMP文件所在目录：", kBmpFilter), NameField("文件名：", "例如train(*),不含扩展名")},
           RangeFields("ALL"),
           {DigitsField()},
           SizeFields("图象尺寸：", "宽", "高"),
           {SaveFileField("avi", "avi文件所在路径：", kAviFilter, "avi", "the AVI file to write")}}),
      ReelBitmaps};
}

}  // namespace vidmetra::converters
