#include "vidmetra/converters/numbered_bitmaps.h"

#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {

std::string ForEachNumberedBitmap(const FieldValues& values, FrameRange range, MissingBitmap missing,
                                  RunProgress& progress, const BitmapStep& step) {
  progress.Start(range.first, range.last);
  DibImage image;
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    const std::string name = values.FrameName(i);
    const DibLoad load = ReadDibFile(values.Text("dir") + name + ".bmp", image);
    if (load == DibLoad::kMissing && missing == MissingBitmap::kIsSkipped) continue;
    if (load == DibLoad::kMissing) break;
    if (load == DibLoad::kInvalid) return UnreadableBmpMessage(name + ".bmp");
    if (std::string message = step(name, image); !message.empty()) return message;
  }
  return {};
}

}  // namespace vidmetra::converters
