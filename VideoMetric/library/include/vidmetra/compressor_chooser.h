#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/compressor_settings.h"

namespace vidmetra {

inline constexpr const char* kChooseCompressorTitle = "Choose compressor:";

// What the user confirmed in a compressor chooser; `state` is the configuration the chooser gave the compressor.
struct CompressorChoice {
  uint32_t fcc_type = kVideoCompressorType;
  uint32_t fcc_handler = 0;
  int32_t quality = -1;
  int32_t data_rate = 0;
  std::vector<uint8_t> state;
};

// The place a user picks a compressor: the desktop program's dialog, or a scripted one in tests. Key-frame and
// data-rate controls are offered; nothing when the user cancels.
class CompressorChooser {
 public:
  virtual ~CompressorChooser() = default;
  virtual std::optional<CompressorChoice> Choose(const BitmapInfoHeader& input, const std::string& title) = 0;
};

// Asks the chooser; on confirmation `settings` becomes the choice with the compressor's own current state, and
// the result is true. A cancelled choice leaves `settings` as it was.
bool ChooseCompressor(CompressorChooser& chooser, CompressorSettings& settings, const BitmapInfoHeader& input);

}  // namespace vidmetra
