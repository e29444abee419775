#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_files.h"
#include "support/riff_writer.h"

namespace vidmetra::testing {

// Which sample index a built file carries, and where.
enum class AviIndexLayout {
  kNone,
  kClassicRelative,       // idx1 after movi, offsets from the movi list type
  kClassicAbsolute,       // idx1 after movi, file offsets
  kClassicBeforeMovi,     // idx1 between hdrl and movi
  kOpenDml,               // indx index of indexes in each strl naming ix## chunks inside movi
  kOpenDmlWithClassic,    // as kOpenDml, plus an idx1 that disagrees with it (every entry a delta frame, sizes halved)
  kOpenDmlDirect,         // indx index of chunks in each strl
};

// One stream to be written: its header fields, format record and samples.
struct AviStreamSpec {
  std::string type = "vids";  // four characters
  std::string handler = std::string(4, '\0');
  uint32_t scale = 1;
  uint32_t rate = 25;
  uint32_t start = 0;
  uint32_t sample_size = 0;
  int16_t frame_right = 0;
  int16_t frame_bottom = 0;
  std::vector<uint8_t> format;
  std::vector<std::vector<uint8_t>> samples;
  std::vector<bool> key_frames;
  std::string chunk_suffix = "dc";  // "dc" video, "wb" audio
};

// Writes small AVI files with chosen streams and index layouts for tests and the fuzzing corpus.
class AviBuilder {
 public:
  // A video stream whose format is a 40-byte bitmap information header; returns its number.
  int AddVideoStream(int32_t width, int32_t height, const std::string& compression, uint16_t bit_count);
  // A PCM audio stream whose format is an 18-byte wave format record; returns its number.
  int AddAudioStream(uint16_t channels, uint32_t sample_rate, uint16_t bits);
  int AddStream(AviStreamSpec stream_plan);
  void AddSample(int stream, std::vector<uint8_t> data, bool key_frame = true);
  AviStreamSpec& Stream(int stream) { return streams_[static_cast<size_t>(stream)]; }

  // Entries per ix## chunk for the OpenDML layouts (a stream with more samples gets several).
  void SetEntriesPerStandardIndex(size_t entries) { entries_per_standard_index_ = entries; }

  std::vector<uint8_t> Build(AviIndexLayout layout) const;
  void Write(const std::string& path, AviIndexLayout layout) const;

 private:
  struct Placement;

  void WriteHeaderList(RiffWriter& riff, AviIndexLayout layout, Placement& placement) const;
  void WriteMovi(RiffWriter& riff, AviIndexLayout layout, Placement& placement) const;
  void WriteStandardIndexes(RiffWriter& riff, size_t stream, Placement& placement) const;
  void WriteClassicIndex(RiffWriter& riff, AviIndexLayout layout, const Placement& placement) const;
  void PatchDirectIndex(RiffWriter& riff, size_t stream, const Placement& placement) const;
  std::string ChunkId(size_t stream) const;
  size_t SampleCount() const;

  std::vector<AviStreamSpec> streams_;
  size_t entries_per_standard_index_ = 16;
};

// For files assembled by hand: opens the header list, writes a main header announcing `streams`
// streams and `total_frames` frames, and one video stream list with its stream header and a zeroed
// 40-byte format. The stream list and the header list stay open for the caller to extend and end.
void BeginMinimalHeaderList(RiffWriter& riff, uint32_t streams, uint32_t total_frames);

}  // namespace vidmetra::testing
