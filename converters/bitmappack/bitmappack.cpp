#include "bitmappack.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/numbered_bitmaps.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_colour.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

bool IsIndexed8Of(const DibImage& image, PictureSize size) {
  return image.info.bit_count == 8 && image.info.compression == kDibUncompressed && image.info.width == size.width &&
         image.info.height == size.height;
}

std::string PackBitmaps(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  CFile sequence;
  if (!sequence.Open(values.Text("seq"), "wb")) return "unable to open seq file.";
  std::vector<uint8_t> frame(size.SequenceFrameBytes());
  SequenceFrameFromBgr converter(size);
  const std::string message =
      ForEachNumberedBitmap(values, values.Range(kAllNumberedFiles), MissingBitmap::kEndsTheRun, progress,
                            [&](const std::string& name, const DibImage& image) -> std::string {
                              if (image.IsBgr24Of(size)) {
                                converter.Convert(image.pixels.data(), image.Stride(), frame.data());
                              } else if (IsIndexed8Of(image, size)) {
                                SequenceFrameFromIndices(size, image.pixels.data(), image.Stride(), frame.data());
                              } else {
                                return "bmp file is not a 24-bit or 8-bit picture of the given size: " + name + ".bmp";
                              }
                              return sequence.WriteAll(frame.data(), frame.size()) ? std::string() : "write file error";
                            });
  if (!message.empty()) return message;
  return sequence.Close() ? kOkMessage : "write file error";
}

}  // namespace

ToolDescription BitmapPackTool() {
  return ToolDescription{
      "bitmappack", "Convert", true,
      Fields({NumberedBitmapFields(),
              {SaveFileField("seq", "seq文件所在路径：", "seq序列文件(*.seq)", "seq", "the sequence file to write")}}),
      PackBitmaps};
}

}  // namespace vidmetra::converters
