#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "vidmetra/container_stream.h"
#include "vidmetra/read_only_file.h"

namespace vidmetra {

// Reads the sample indexes of an AVI file into its streams while the file is opened. Every count is
// checked against the bytes that hold it, and the entries examined over the whole open are limited by
// the file's size: each entry stands for a chunk of at least 8 bytes, so indexes that point at each
// other or at themselves cannot make an open read or allocate more than the file justifies. Room
// reserved ahead of the entries on the strength of header counts is limited likewise, across all
// streams together. Structural errors are thrown as AviFormatError.
class AviIndexReader {
 public:
  explicit AviIndexReader(const ReadOnlyFile& file);

  // Makes room for `entries` entries in the stream's index, as far as the file can justify.
  void Reserve(ContainerStream& stream, uint64_t entries);

  // An OpenDML `indx` chunk whose data lies in [data, data_end): an index of chunks, or an index of
  // indexes whose entries name standard index chunks elsewhere in the file. Returns false when the
  // chunk is not an index this reader can use (unknown type, entries that do not fit), so that the
  // classic index can still serve.
  bool ReadOpenDmlIndex(uint64_t data, uint64_t data_end, ContainerStream& stream);

  // A classic `idx1` chunk. Entries are distributed to the streams by the two digits of their chunk
  // id; returns false when the offsets are relative to `movi_base` rather than absolute.
  bool ReadClassicIndex(uint64_t data, uint64_t data_end, uint64_t movi_base, uint32_t total_frames,
                        std::span<const std::unique_ptr<ContainerStream>> streams);

 private:
  struct IndexHeader;

  IndexHeader ReadIndexHeader(uint64_t offset) const;
  void ReadIndexOfIndexes(const IndexHeader& header, uint64_t entries, ContainerStream& stream);
  void ReadStandardIndexChunk(uint64_t chunk_offset, ContainerStream& stream);
  void ReadChunkEntries(const IndexHeader& header, uint64_t entries, ContainerStream& stream);
  void Spend(uint64_t entries);

  const ReadOnlyFile& file_;
  uint64_t budget_;
  uint64_t reservable_;
};

}  // namespace vidmetra
