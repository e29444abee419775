#include "vidmetra/file_reader_opener.h"

#include "vidmetra/open_sequence_reader.h"

namespace vidmetra {

std::unique_ptr<SequenceReader> FileReaderOpener::Open(const InputFileEntry& entry) {
  return OpenSequenceReader(entry.path, entry.width, entry.height, entry.colour_mode, true);
}

}  // namespace vidmetra
