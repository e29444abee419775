// libFuzzer entry for the "codec_config" record: whatever the bytes, the reader must stay inside them, and a
// record it accepts must be exactly what the bytes say; an accepted state is then handed to the compressor.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "vidmetra/compressor_catalogue.h"
#include "vidmetra/compressor_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vidmetra::CompressorSettings settings;
  const size_t taken = vidmetra::DeserializeCompressorSettings(data, size, settings);
  if (taken == 0) {
    if (!(settings == vidmetra::CompressorSettings{})) std::abort();  // a refused record changes nothing
    return 0;
  }
  if (taken > size || taken != settings.state.size() + vidmetra::kCompressorSettingsHeaderBytes) std::abort();
  const std::vector<uint8_t> again = vidmetra::SerializeCompressorSettings(settings);
  // Everything but the first field (which the writer recomputes) is given back as read.
  if (std::memcmp(again.data() + 4, data + 4, taken - 4) != 0) std::abort();
  // Most inputs name no installed compressor; make every accepted state reach one.
  settings.fcc_type = vidmetra::kVideoCompressorType;
  settings.fcc_handler = vidmetra::FourCc("FFV1");
  vidmetra::CompressorCatalogue::Instance().Open(settings);
  return 0;
}
