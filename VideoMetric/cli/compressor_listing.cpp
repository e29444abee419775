#include "compressor_listing.h"

#include <cstdio>

namespace vidmetra::cli {

std::string CompressorListing(const CompressorCatalogue& catalogue) {
  std::string text;
  for (const CompressorCatalogue::Entry& entry : catalogue.Entries()) {
    std::string applies;
    if (entry.quality) applies += "  quality";
    if (entry.data_rate) applies += "  data-rate";
    if (entry.key_frame_interval) applies += "  key-frame-interval";
    char line[256];
    std::snprintf(line, sizeof line, "%s  %-40s%s\n", FourCcText(entry.fourcc).c_str(), entry.description.c_str(),
                  applies.c_str());
    std::string row = line;
    row.erase(row.find_last_not_of(" \n") + 1);
    text += row + "\n";
  }
  return text;
}

}  // namespace vidmetra::cli
