#pragma once
#include <string>

#include "vidmetra/compressor_catalogue.h"

namespace vidmetra::cli {

// One line per compressor: FourCC, name, and which of quality, data rate and key-frame interval apply.
std::string CompressorListing(const CompressorCatalogue& catalogue);

}  // namespace vidmetra::cli
