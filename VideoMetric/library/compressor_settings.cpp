#include "vidmetra/compressor_settings.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "vidmetra/byte_order.h"

namespace vidmetra {
namespace {

// "codec_config" holds one small record; anything larger is not one of ours.
constexpr std::uintmax_t kMaxConfigBytes = 1 << 20;

}  // namespace

size_t SerializeCompressorSettings(const CompressorSettings& settings, uint8_t* buffer) {
  const size_t state_size = settings.state.size();
  if (buffer != nullptr) {
    StoreLe32(buffer, static_cast<uint32_t>(state_size + 20));
    StoreLe32(buffer + 4, settings.fcc_type);
    StoreLe32(buffer + 8, settings.fcc_handler);
    StoreLe32(buffer + 12, static_cast<uint32_t>(settings.quality));
    StoreLe32(buffer + 16, static_cast<uint32_t>(settings.data_rate));
    StoreLe32(buffer + 20, static_cast<uint32_t>(state_size));
    std::copy(settings.state.begin(), settings.state.end(), buffer + kCompressorSettingsHeaderBytes);
  }
  return state_size + kCompressorSettingsHeaderBytes;
}

std::vector<uint8_t> SerializeCompressorSettings(const CompressorSettings& settings) {
  std::vector<uint8_t> bytes(SerializeCompressorSettings(settings, nullptr));
  SerializeCompressorSettings(settings, bytes.data());
  return bytes;
}

size_t DeserializeCompressorSettings(const uint8_t* buffer, size_t size, CompressorSettings& settings) {
  if (buffer == nullptr || size < kCompressorSettingsHeaderBytes) return 0;
  const uint32_t record_size = LoadLe32(buffer);
  if (record_size > size - 4) return 0;
  // The state size is checked against the bytes actually present, so that a damaged file cannot make the
  // reader run past its end.
  const auto state_size = static_cast<int32_t>(LoadLe32(buffer + 20));
  if (state_size < 0 || static_cast<size_t>(state_size) > size - kCompressorSettingsHeaderBytes) return 0;
  settings.fcc_type = LoadLe32(buffer + 4);
  settings.fcc_handler = LoadLe32(buffer + 8);
  settings.quality = static_cast<int32_t>(LoadLe32(buffer + 12));
  settings.data_rate = static_cast<int32_t>(LoadLe32(buffer + 16));
  const uint8_t* state = buffer + kCompressorSettingsHeaderBytes;
  settings.state.assign(state, state + state_size);
  return static_cast<size_t>(state_size) + kCompressorSettingsHeaderBytes;
}

bool LoadCompressorSettings(const std::string& path, CompressorSettings& settings) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size == 0 || size > kMaxConfigBytes) return false;
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return DeserializeCompressorSettings(bytes.data(), bytes.size(), settings) != 0;
}

bool SaveCompressorSettings(const std::string& path, const CompressorSettings& settings) {
  const std::vector<uint8_t> bytes = SerializeCompressorSettings(settings);
  // Written beside and renamed over the old file, so that a failed write never leaves half a record.
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  const bool replaced = written && !error;
  if (!replaced) std::filesystem::remove(temporary, error);
  return replaced;
}

}  // namespace vidmetra
