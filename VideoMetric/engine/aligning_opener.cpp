#include "vidmetra/aligning_opener.h"

namespace vidmetra {

std::unique_ptr<SequenceReader> AligningOpener::Open(const InputFileEntry& entry) {
  const FrameRange& range = original_opened_ ? alignment_.processed : alignment_.original;
  original_opened_ = true;
  return AlignReader(inner_.Open(entry), range);
}

}  // namespace vidmetra
