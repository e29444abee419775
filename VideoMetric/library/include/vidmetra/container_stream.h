#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vidmetra/avi_headers.h"
#include "vidmetra/read_only_file.h"
#include "vidmetra/stream_source.h"

namespace vidmetra {

// Where one sample of a stream lives: `offset` is the position of the chunk header, relative to the
// `movi` list type unless the file's index is absolute.
struct AviIndexEntry {
  uint32_t chunk_id = 0;
  uint32_t flags = 0;
  uint64_t offset = 0;
  uint32_t size = 0;
};

inline constexpr uint32_t kAviKeyFrameFlag = 0x10;
// Index arrays grow by this many entries so that long files do not reallocate per sample.
inline constexpr size_t kAviIndexGrowth = 1000;

// One stream of an AVI file, served from the index built when the file was opened. Each stream reads
// through its own handle on the file.
class ContainerStream final : public StreamSource {
 public:
  enum Kind : int32_t { kAudio = 0, kVideo = 1, kOther = 2 };

  ContainerStream(ReadOnlyFile file, Kind kind, const AviStreamHeader& header);

  bool IsVideo() const override;
  bool IsAudio() const override;
  bool Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) override;
  bool GetInfo(StreamInfo& info) const override;
  bool IsKeyFrame(int64_t sample) const override;
  int64_t Length() const override;
  int64_t Start() const override;
  int64_t End() const override;
  int64_t FormatSize() const override;
  bool ReadFormat(void* buffer, int64_t size) const override;

  // Called by the container while it walks the file, then once by Finish when the walk succeeded.
  void SetFormat(std::vector<uint8_t> format) { format_ = std::move(format); }
  void ReserveIndex(size_t entries);
  void AddIndexEntry(const AviIndexEntry& entry);
  void Finish(int32_t number, uint64_t movi_base, bool offsets_absolute);

  int32_t Number() const { return number_; }
  Kind StreamKind() const { return kind_; }
  const AviStreamHeader& Header() const { return header_; }
  size_t IndexCapacity() const { return index_.capacity(); }

 private:
  const AviIndexEntry* Entry(int64_t sample) const;
  int64_t StoredBytes(const AviIndexEntry& entry) const;
  bool DataOffset(const AviIndexEntry& entry, uint64_t& offset) const;

  ReadOnlyFile file_;
  int32_t number_ = -1;
  Kind kind_;
  AviStreamHeader header_;
  std::vector<uint8_t> format_;
  std::vector<AviIndexEntry> index_;
  bool offsets_absolute_ = true;
  uint64_t movi_base_ = 0;
};

}  // namespace vidmetra
