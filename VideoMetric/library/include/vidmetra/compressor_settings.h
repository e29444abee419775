#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/fourcc.h"

namespace vidmetra {

inline constexpr uint32_t kVideoCompressorType = FourCc("vidc");
// Bytes of the serialized record in front of the state.
inline constexpr size_t kCompressorSettingsHeaderBytes = 24;

// A compressor choice as the writers and the "codec_config" file keep it. `state` is the compressor's private
// configuration; for our encoders it is their options as text, "key=value:key=value".
struct CompressorSettings {
  uint32_t fcc_type = 0;
  uint32_t fcc_handler = 0;
  int32_t quality = 0;
  int32_t data_rate = 0;  // kbit/s, 0 when not used
  std::vector<uint8_t> state;

  int32_t state_size() const { return static_cast<int32_t>(state.size()); }
  std::string StateText() const { return std::string(state.begin(), state.end()); }
  void SetStateText(const std::string& text) { state.assign(text.begin(), text.end()); }

  bool operator==(const CompressorSettings&) const = default;
};

// Writes the record into `buffer` when it is not null and returns the bytes it takes (state size + 24).
size_t SerializeCompressorSettings(const CompressorSettings& settings, uint8_t* buffer);
std::vector<uint8_t> SerializeCompressorSettings(const CompressorSettings& settings);

// Reads a record from `size` bytes; returns the bytes it took, or 0 (and leaves `settings` unchanged) when the
// buffer is null, its first field exceeds size - 4, or its state would reach beyond the bytes given.
size_t DeserializeCompressorSettings(const uint8_t* buffer, size_t size, CompressorSettings& settings);

// The "codec_config" file: loading keeps `settings` unchanged when the file is missing, empty or not a record.
bool LoadCompressorSettings(const std::string& path, CompressorSettings& settings);
bool SaveCompressorSettings(const std::string& path, const CompressorSettings& settings);

}  // namespace vidmetra
