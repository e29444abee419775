#pragma once
// Frame alignment for a run: the original and the processed files each start some frames in and are cut to one
// count, so that the driver measures frame 0 of the aligned range as its frame 0 and every output follows.
#include "vidmetra/aligned_reader.h"
#include "vidmetra/measurement_driver.h"

namespace vidmetra {

struct FrameAlignment {
  FrameRange original;
  FrameRange processed;
  bool IsWhole() const { return original.IsWhole() && processed.IsWhole(); }
};

class AligningOpener : public ReaderOpener {
 public:
  AligningOpener(ReaderOpener& inner, FrameAlignment alignment) : inner_(inner), alignment_(alignment) {}

  // The driver opens the original first in both of its modes, so the first file of a run takes the original's
  // range and every later one the processed files' range.
  std::unique_ptr<SequenceReader> Open(const InputFileEntry& entry) override;
  std::string LastFailure() const override { return inner_.LastFailure(); }

 private:
  ReaderOpener& inner_;
  FrameAlignment alignment_;
  bool original_opened_ = false;
};

}  // namespace vidmetra
