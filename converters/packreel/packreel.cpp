#include "packreel.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/dib_image.h"
#include "vidmetra/converters/reel_file.h"
#include "vidmetra/converters/standard_fields.h"
#include "vidmetra/converters/tool_colour.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

std::string ReelSequence(const FieldValues& values, RunProgress& progress) {
  const PictureSize size = values.Size();
  if (!IsUsablePictureSize(size)) return kWrongPictureSize;
  // The sequence is opened before the AVI file is made, so that a mistyped sequence name does not replace an
  // existing AVI file with an empty one.
  CFile sequence;
  if (!sequence.Open(values.Text("seq"), "rb")) return "unable to open seq file.";
  std::vector<uint8_t> frame;
  if (!ResizeBuffer(frame, size.SequenceFrameBytes())) return "unable to malloc mem to lp_seq.";
  const FrameRange range = values.Range(kAllFileFrames);
  if (range.first != 0 && !sequence.Seek(size.SequenceFrameOffset(static_cast<uint64_t>(range.first)))) {
    return "fseek error!";
  }
  ReelFile reel;
  if (std::string failure = reel.Open(values.Text("avi"), size); !failure.empty()) return failure;
  DibImage picture = DibImage::Bgr24(size);
  const uint8_t* u_plane = frame.data() + size.Pixels();
  const uint8_t* v_plane = u_plane + size.ChromaPlaneBytes();
  progress.Start(range.first, range.last);
  for (long long i = range.first; i <= range.last; ++i) {
    progress.Reach(i);
    if (!sequence.ReadAll(frame.data(), frame.size())) break;
    SequencePlanesToBgr(size, frame.data(), u_plane, v_plane, picture.pixels.data(), picture.Stride());
    if (std::string failure = reel.Write(picture.pixels.data()); !failure.empty()) return failure;
  }
  const std::string failure = reel.Close();
  return failure.empty() ? kOkMessage : failure;
}

}  // namespace

ToolDescription PackReelTool() {
  return ToolDescription{"packreel", "Convert", false,
                         Fields({{OpenFileField("seq", "seq文件：", kSeqFilter, "the sequence to read")},
                                 RangeFields("所有帧"),
                                 SizeFields("每帧画面尺寸：", "宽", "高"),
                                 {SaveFileField("avi", "avi文件：", kAviFilter, "avi", "the AVI file to write")}}),
                         ReelSequence};
}

}  // namespace vidmetra::converters
