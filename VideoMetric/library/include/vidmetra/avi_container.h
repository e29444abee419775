#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vidmetra/avi_headers.h"
#include "vidmetra/avi_index_reader.h"
#include "vidmetra/container_stream.h"
#include "vidmetra/read_only_file.h"

namespace vidmetra {

// Reads the RIFF structure of an AVI file: walks the header lists once at Open, collects every
// stream's header, format and sample index, and then serves each stream through a ContainerStream.
// Files beyond 4 GiB (OpenDML) are indexed through their `indx` chunks; every offset is 64-bit.
class AviContainer {
 public:
  // Lists nest at most this deep; real files need four.
  static constexpr size_t kMaxListDepth = 32;
  // Chunk ids carry the stream number as two digits.
  static constexpr uint32_t kMaxStreams = 100;

  AviContainer() = default;
  AviContainer(const AviContainer&) = delete;
  AviContainer& operator=(const AviContainer&) = delete;

  // False when the file cannot be read or its structure is broken; the container is then failed and
  // holds no streams.
  bool Open(const std::string& name);

  bool Failed() const { return failed_; }
  const std::string& Name() const { return name_; }
  const AviMainHeader& MainHeader() const { return main_header_; }
  uint32_t TotalFrames() const { return total_frames_; }
  // The number of streams the main header announced; a stream it announced but the file did not
  // describe is null.
  int32_t StreamCount() const { return static_cast<int32_t>(streams_.size()); }
  ContainerStream* Stream(int32_t number) const;
  // The n-th video (or audio) stream counting from 0, or null.
  ContainerStream* VideoStream(int32_t n) const;
  ContainerStream* AudioStream(int32_t n) const;

 private:
  struct OpenList {
    uint32_t type;
    uint64_t end;   // end of the list's data
    uint64_t next;  // where the chunk after the list starts (its pad byte included)
  };
  struct Chunk {
    uint32_t id;
    uint32_t size;
    uint64_t data;      // first data byte
    uint64_t data_end;  // end of the data, clamped to the enclosing list and the file
    uint64_t end;       // start of the next chunk, clamped likewise
  };

  void Reset();
  void Walk();
  void CloseFinishedLists();
  Chunk ReadChunk(uint64_t limit);
  void HandleChunk(const Chunk& chunk);
  void HandleRiff(const Chunk& chunk);
  void HandleList(const Chunk& chunk);
  void HandleMainHeader(const Chunk& chunk);
  void HandleStreamHeader(const Chunk& chunk);
  void HandleStreamFormat(const Chunk& chunk);
  void HandleOpenDmlIndex(const Chunk& chunk);
  void HandleClassicIndex(const Chunk& chunk);
  void HandleExtendedHeader(const Chunk& chunk);
  void PushList(uint32_t type, const Chunk& chunk);
  bool InList(uint32_t type) const;
  uint32_t ReadListType(const Chunk& chunk) const;
  AviHeaderBytes ReadHeaderBytes(const Chunk& chunk) const;
  void FinishStreams();
  ContainerStream* NthStream(int32_t n, bool (ContainerStream::*is_kind)() const) const;

  ReadOnlyFile file_;
  std::optional<AviIndexReader> index_reader_;
  uint64_t position_ = 0;
  std::string name_;
  bool failed_ = false;
  bool riff_seen_ = false;
  bool main_header_seen_ = false;
  bool offsets_absolute_ = true;
  bool open_dml_index_ = false;
  uint32_t total_frames_ = 0;
  uint64_t movi_base_ = 0;
  std::vector<std::unique_ptr<ContainerStream>> streams_;
  AviMainHeader main_header_;
  std::vector<OpenList> lists_;
  uint32_t strh_count_ = 0;
  uint32_t strf_count_ = 0;
};

}  // namespace vidmetra
