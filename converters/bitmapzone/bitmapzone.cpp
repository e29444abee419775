#include "bitmapzone.h"

#include <algorithm>

#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/numbered_bitmaps.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string CutBands(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsableBitmapSize(size)) return kWrongBitmapSize;
  const long long begin = values.Number("begin"), end = values.Number("end");
  if (begin > end || end >= size.height) {
    return "wrong line range: begin line must not follow end line, and both must lie within the picture.";
  }
  // Display rows count from the top; the stored rows of a bitmap from the bottom.
  const size_t row_bytes = size.PaddedBgrRowBytes();
  const size_t band_start = static_cast<size_t>(size.height - end - 1) * row_bytes;
  DibImage band = DibImage::Bgr24(PictureSize{size.width, static_cast<int>(end - begin + 1)});
  const std::string message = ForEachNumberedBitmap(
      values, values.Range(kAllNumberedFiles), MissingBitmap::kEndsTheRun, progress,
      [&](const std::string& name, const DibImage& image) -> std::string {
        if (!image.IsBgr24Of(size)) return MismatchedBmpMessage(name + ".bmp");
        const auto first = image.pixels.begin() + static_cast<ptrdiff_t>(band_start);
        std::copy(first, first + static_cast<ptrdiff_t>(band.pixels.size()), band.pixels.begin());
        const std::string output = name + values.Text("suffix") + ".bmp";
        return WriteDibFile(values.Text("out-dir") + output, band) ? std::string() : UnwritableBmpMessage(output);
      });
  return message.empty() ? kOkMessage : message;
}

}  // namespace

ToolDescription BitmapZoneTool() {
  FieldSpec suffix(FieldKind::kText, "suffix", "filename suffix:");
  suffix.help = "put after each output name, before \".bmp\"";
  suffix.optional = true;
  return ToolDescription{
      "bitmapzone", "Segment", true,
      Fields({{InputFolderField("dir", "BMP文件所在目录：", kBmpFilter), NameField("文件名：", "")},
              RangeFields("ALL"),
              {DigitsField(), NoteField(kPlaceholderNote)},
              SizeFields("图象尺寸：", "宽", "高"),
              {OutputFolderField("out-dir", "output BMP文件所在目录："),
               NumberField("begin", "begin line:", "first display row of the band (0 is the top)"),
               NumberField("end", "end line:", "last display row of the band", true),
               NoteField("Note: it's the postion displayed", true), suffix, SetButtonField("suffix", "left", "_left"),
               SetButtonField("suffix", "right", "_right")}}),
      CutBands};
}

}  // namespace vidmetra::converters
