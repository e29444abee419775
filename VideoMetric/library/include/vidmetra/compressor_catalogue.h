#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vidmetra/compressor_settings.h"
#include "vidmetra/video_compressor.h"

namespace vidmetra {

// Shown for a choice whose compressor cannot be opened, which is written uncompressed.
inline constexpr const char* kUncompressedName = "Uncompressed RGB";
inline constexpr uint32_t kUncompressedFourCc = FourCc("DIB ");

// The installed compressors, each known by the FourCC it stores in AVI files. The built-in ones are the
// libavcodec encoders of this FFmpeg that AVI can carry; the uncompressed choice is listed but opens no
// compressor. Further compressors can be installed at run time (tests install scripted ones).
class CompressorCatalogue {
 public:
  using Factory = std::function<std::unique_ptr<VideoCompressor>()>;

  struct Entry {
    uint32_t fourcc = 0;
    std::string description;    // what CompressorName shows
    std::string default_state;  // the options a fresh compressor starts with
    bool quality = false;       // which controls of a compressor choice apply
    bool data_rate = false;
    bool key_frame_interval = false;
    Factory create;             // null for the uncompressed choice
  };

  static CompressorCatalogue& Instance();

  const std::vector<Entry>& Entries() const { return entries_; }
  const Entry* Find(uint32_t fourcc) const;
  // Adds an entry or replaces the one with its FourCC.
  void Install(Entry entry);
  void Remove(uint32_t fourcc);

  // Opens {type, handler} for compressing and hands over the state when there is one; null when the
  // compressor is not installed, is the uncompressed choice, or refuses the state.
  std::unique_ptr<VideoCompressor> Open(const CompressorSettings& settings) const;

 private:
  CompressorCatalogue();

  std::vector<Entry> entries_;
};

// The description of the chosen compressor, or "Uncompressed RGB" when it cannot be opened.
std::string CompressorName(const CompressorSettings& settings);
// The FourCC as four printable characters, a zero byte shown as a blank.
std::string FourCcText(uint32_t fourcc);

}  // namespace vidmetra
