#include "vidmetra/file_reader_opener.h"

#include "vidmetra/open_sequence_reader.h"
#include "vidmetra/prefetching_reader.h"

namespace vidmetra {

std::unique_ptr<SequenceReader> FileReaderOpener::Open(const InputFileEntry& entry) {
  std::unique_ptr<SequenceReader> reader =
      OpenSequenceReader(entry.path, entry.width, entry.height, entry.colour_mode, true, &last_failure_);
  if (reader && prefetch_) return std::make_unique<PrefetchingReader>(std::move(reader));
  return reader;
}

}  // namespace vidmetra
