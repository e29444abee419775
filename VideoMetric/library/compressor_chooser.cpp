#include "vidmetra/compressor_chooser.h"

#include "vidmetra/compressor_catalogue.h"

namespace vidmetra {

bool ChooseCompressor(CompressorChooser& chooser, CompressorSettings& settings, const BitmapInfoHeader& input) {
  const std::optional<CompressorChoice> choice = chooser.Choose(input, kChooseCompressorTitle);
  if (!choice) return false;
  CompressorSettings chosen;
  chosen.fcc_type = choice->fcc_type;
  chosen.fcc_handler = choice->fcc_handler;
  chosen.quality = choice->quality;
  chosen.data_rate = choice->data_rate;
  chosen.state = choice->state;
  // The compressor says what its configuration is; a choice it refuses is kept without state.
  const auto compressor = CompressorCatalogue::Instance().Open(chosen);
  chosen.state = compressor ? compressor->State() : std::vector<uint8_t>{};
  settings = std::move(chosen);
  return true;
}

}  // namespace vidmetra
