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
    // Samples are numbered from 0 whatever the first file's number: an AVI starting with empty samples shows
    // nothing where its first picture should be, and the measurement program cannot read it.
    if (std::string failure = reel.Write(image.pixels.data()); !failure.empty()) return failure;
  }
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
