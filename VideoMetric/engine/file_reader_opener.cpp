#include "vidmetra/file_reader_opener.h"

#include "vidmetra/open_sequence_reader.h"
#include "vidmetra/prefetching_reader.h"

namespace vidmetra {

std::unique_ptr<SequenceReader> FileReaderOpener::Open(const InputFileEntry& entry) {
  std::unique_ptr<SequenceReader> reader =
      OpenSequenceReader(entry.path, entry.width, entry.height, entry.colour_mode, true, &last_failure_);
  // On the calling thread alone, reading ahead would only be reading later.
  if (reader && pool_ != nullptr && pool_->Threads() > 1) {
    return std::make_unique<PrefetchingReader>(std::move(reader), *pool_);
  }
  return reader;
}

}  // namespace vidmetra
