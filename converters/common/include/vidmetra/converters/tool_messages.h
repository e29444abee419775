#pragma once
// Messages the converters share beyond their own, for input the tools must refuse.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra::converters {

inline const std::string kWrongPictureSize = "wrong picture size: width and height must be even, from 2 to 32768.";

inline const std::string kWrongBitmapSize = "wrong picture size: width and height must be from 1 to 32768.";

inline std::string UnreadableBmpMessage(const std::string& name) { return "unable to read bmp file " + name; }
inline std::string UnwritableBmpMessage(const std::string& name) { return "unable to write bmp file " + name; }
inline std::string MismatchedBmpMessage(const std::string& name) {
  return "bmp file is not a 24-bit picture of the given size: " + name;
}

// Sizes `buffer` to `bytes`; false when the memory is not there, for the tool's own allocation message.
bool ResizeBuffer(std::vector<uint8_t>& buffer, size_t bytes);

}  // namespace vidmetra::converters
