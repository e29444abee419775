#include "recording_opener.h"

#include <algorithm>

#include "vidmetra/colour_space.h"

namespace vidmetra::cli {

std::unique_ptr<SequenceReader> RecordingOpener::Open(const InputFileEntry& entry) {
  std::unique_ptr<SequenceReader> reader = inner_.Open(entry);
  const bool known = std::any_of(inputs_.begin(), inputs_.end(),
                                 [&](const OpenedInput& input) { return input.path == entry.path; });
  if (reader && !known) {
    inputs_.push_back({entry.path, reader->Describe(kTextCapacity), reader->DecoderName(), reader->Width(),
                       reader->Height(), ColourSpaceLabel(reader->ColourSpace()), reader->FrameCount()});
  }
  return reader;
}

}  // namespace vidmetra::cli
