#include "vidmetra/avi_index_reader.h"

#include <algorithm>
#include <vector>

#include "vidmetra/avi_format_error.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/fourcc.h"

namespace vidmetra {

namespace {

constexpr uint64_t kIndexHeaderBytes = 24;
constexpr uint64_t kClassicEntryBytes = 16;
constexpr uint64_t kSuperEntryBytes = 16;
constexpr uint8_t kIndexOfIndexes = 0;
constexpr uint8_t kIndexOfChunks = 1;
constexpr uint32_t kSizeIsDeltaFrame = 0x80000000u;
constexpr size_t kEntriesPerBlock = 4096;

// Calls visit(entry_bytes) for `count` entries of `stride` bytes starting at `offset`, reading the
// file in blocks so that a long index never needs one large buffer.
template <typename Visit>
void ForEachEntry(const ReadOnlyFile& file, uint64_t offset, uint64_t count, uint64_t stride, Visit visit) {
  std::vector<uint8_t> block;
  while (count > 0) {
    const uint64_t entries = std::min<uint64_t>(count, kEntriesPerBlock);
    block.resize(static_cast<size_t>(entries * stride));
    if (!file.ReadAt(offset, block.data(), block.size())) throw AviFormatError{};
    for (uint64_t i = 0; i < entries; ++i) visit(block.data() + i * stride);
    offset += entries * stride;
    count -= entries;
  }
}

uint64_t BytesBetween(uint64_t begin, uint64_t end) { return end > begin ? end - begin : 0; }

}  // namespace

struct AviIndexReader::IndexHeader {
  uint16_t longs_per_entry = 0;
  uint8_t type = 0;
  uint32_t entries_in_use = 0;
  uint32_t chunk_id = 0;
  uint64_t base_offset = 0;
  uint64_t entries_offset = 0;

  uint64_t Stride() const { return uint64_t{longs_per_entry} * 4; }
  // The entries in use must lie inside the bytes available to them.
  bool Fits(uint64_t available) const { return Stride() != 0 && entries_in_use <= available / Stride(); }
};

// A sample costs at least 16 bytes of the file (its chunk header and its index entry).
AviIndexReader::AviIndexReader(const ReadOnlyFile& file)
    : file_(file), budget_(file.Size() / 8), reservable_(file.Size() / 16) {}

void AviIndexReader::Reserve(ContainerStream& stream, uint64_t entries) {
  const uint64_t capacity = stream.IndexCapacity();
  if (entries <= capacity) return;
  const uint64_t extra = std::min(entries - capacity, reservable_);
  reservable_ -= extra;
  stream.ReserveIndex(static_cast<size_t>(capacity + extra));
}

void AviIndexReader::Spend(uint64_t entries) {
  if (entries > budget_) throw AviFormatError{};
  budget_ -= entries;
}

AviIndexReader::IndexHeader AviIndexReader::ReadIndexHeader(uint64_t offset) const {
  uint8_t bytes[kIndexHeaderBytes];
  if (!file_.ReadAt(offset, bytes, sizeof bytes)) throw AviFormatError{};
  IndexHeader header;
  header.longs_per_entry = LoadLe16(bytes);
  header.type = bytes[3];
  header.entries_in_use = LoadLe32(bytes + 4);
  header.chunk_id = LoadLe32(bytes + 8);
  header.base_offset = LoadLe64(bytes + 12);
  header.entries_offset = offset + kIndexHeaderBytes;
  return header;
}

bool AviIndexReader::ReadOpenDmlIndex(uint64_t data, uint64_t data_end, ContainerStream& stream) {
  if (BytesBetween(data, data_end) < kIndexHeaderBytes) return false;
  const IndexHeader header = ReadIndexHeader(data);
  const uint64_t available = BytesBetween(header.entries_offset, data_end);
  if (!header.Fits(available)) return false;
  if (header.type == kIndexOfChunks && header.longs_per_entry >= 2) {
    ReadChunkEntries(header, header.entries_in_use, stream);
    return true;
  }
  if (header.type == kIndexOfIndexes && header.Stride() == kSuperEntryBytes) {
    ReadIndexOfIndexes(header, header.entries_in_use, stream);
    return true;
  }
  return false;
}

void AviIndexReader::ReadIndexOfIndexes(const IndexHeader& header, uint64_t entries, ContainerStream& stream) {
  Spend(entries);
  ForEachEntry(file_, header.entries_offset, entries, header.Stride(), [&](const uint8_t* entry) {
    ReadStandardIndexChunk(LoadLe64(entry), stream);
  });
}

// A standard index named by an index of indexes. One that lies outside the file, is not an index of
// chunks (for instance the index of indexes itself) or claims more entries than its chunk holds is
// skipped.
void AviIndexReader::ReadStandardIndexChunk(uint64_t chunk_offset, ContainerStream& stream) {
  uint64_t header_offset = 0;
  if (__builtin_add_overflow(chunk_offset, 8u, &header_offset)) return;
  if (BytesBetween(header_offset, file_.Size()) < kIndexHeaderBytes) return;
  uint8_t size_bytes[4];
  if (!file_.ReadAt(chunk_offset + 4, size_bytes, sizeof size_bytes)) throw AviFormatError{};
  const uint64_t chunk_end = std::min(header_offset + LoadLe32(size_bytes), file_.Size());
  const IndexHeader header = ReadIndexHeader(header_offset);
  if (header.type != kIndexOfChunks || header.longs_per_entry < 2) return;
  if (!header.Fits(BytesBetween(header.entries_offset, chunk_end))) return;
  ReadChunkEntries(header, header.entries_in_use, stream);
}

// Entries {offset from the base to the chunk data, size with bit 31 set for delta frames}. An entry
// whose position overflows or lies beyond the end of the file is dropped.
void AviIndexReader::ReadChunkEntries(const IndexHeader& header, uint64_t entries, ContainerStream& stream) {
  Spend(entries);
  ForEachEntry(file_, header.entries_offset, entries, header.Stride(), [&](const uint8_t* entry) {
    uint64_t data_offset = 0;
    if (__builtin_add_overflow(header.base_offset, LoadLe32(entry), &data_offset)) return;
    if (data_offset < 8 || data_offset > file_.Size()) return;
    const uint32_t size = LoadLe32(entry + 4);
    AviIndexEntry added;
    added.chunk_id = header.chunk_id;
    added.flags = (size & kSizeIsDeltaFrame) ? 0 : kAviKeyFrameFlag;
    added.offset = data_offset - 8;
    added.size = size & ~kSizeIsDeltaFrame;
    stream.AddIndexEntry(added);
  });
}

bool AviIndexReader::ReadClassicIndex(uint64_t data, uint64_t data_end, uint64_t movi_base,
                                      uint32_t total_frames,
                                      std::span<const std::unique_ptr<ContainerStream>> streams) {
  const uint64_t entries = BytesBetween(data, data_end) / kClassicEntryBytes;
  Spend(entries);
  for (const auto& stream : streams) {
    if (stream) Reserve(*stream, std::min<uint64_t>(total_frames, entries));
  }
  bool offsets_absolute = true;
  ForEachEntry(file_, data, entries, kClassicEntryBytes, [&](const uint8_t* entry) {
    AviIndexEntry added;
    added.chunk_id = LoadLe32(entry);
    // Interleaved files list their "rec " groups in the index too; they are not samples of any stream.
    if (added.chunk_id == FourCc("rec ")) return;
    const int number = (entry[0] - '0') * 10 + (entry[1] - '0');
    if (number < 0 || static_cast<size_t>(number) >= streams.size()) throw AviFormatError{};
    added.flags = LoadLe32(entry + 4);
    added.offset = LoadLe32(entry + 8);
    added.size = LoadLe32(entry + 12);
    if (added.offset < movi_base) offsets_absolute = false;
    if (streams[static_cast<size_t>(number)]) streams[static_cast<size_t>(number)]->AddIndexEntry(added);
  });
  return offsets_absolute;
}

}  // namespace vidmetra
