#include "bitmapreel.h"

#include "vidmetra/converters/numbered_bitmaps.h"
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
  // Samples are numbered from 0 whatever the first file's number: an AVI starting with empty samples shows
  // nothing where its first picture should be, and the measurement program cannot read it.
  const std::string message = ForEachNumberedBitmap(
      values, values.Range(kAllNumberedFiles), MissingBitmap::kEndsTheRun, progress,
      [&](const std::string& name, const DibImage& image) {
        // The stream's format is fixed by the size fields; a picture of another kind would corrupt it.
        return image.IsBgr24Of(size) ? reel.Write(image.pixels.data()) : MismatchedBmpMessage(name + ".bmp");
      });
  if (!message.empty()) return message;
  const std::string failure = reel.Close();
  return failure.empty() ? kOkMessage : failure;
}

}  // namespace

ToolDescription BitmapReelTool() {
  return ToolDescription{
      "bitmapreel", "Convert", true,
      Fields({NumberedBitmapFields(),
              {SaveFileField("avi", "avi文件所在路径：", kAviFilter, "avi", "the AVI file to write")}}),
      ReelBitmaps};
}

}  // namespace vidmetra::converters
