#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/converters/dib_image.h"

namespace vidmetra::converters {

enum class DibLoad {
  kLoaded,
  kMissing,  // the file cannot be opened
  kInvalid,  // the file exists but is no bitmap this reader takes, or is shorter than its headers say
};

// Reads a BMP file with the 40-byte information header: 1-, 4-, 8-, 16-, 24- or 32-bit, uncompressed, or
// run-length compressed at 4 or 8 bits. Every size, count and offset of the headers is checked against the file's
// length before anything is allocated or read. The image's vectors keep their memory from call to call.
DibLoad ReadDibFile(const std::string& path, DibImage& image);

// The file header, information header and colour table of `image` as a BMP file stores them.
std::vector<uint8_t> DibHeaderBytes(const DibImage& image);
// The bytes of a BMP file holding `image`: file header ("BM", file size, pixel offset after the colour table),
// information header (the image size recomputed unless the bitmap is compressed), colour table, pixels.
std::vector<uint8_t> DibFileBytes(const DibImage& image);
// Creates or replaces `path`; false when the file cannot be written whole.
bool WriteDibFile(const std::string& path, const DibImage& image);

}  // namespace vidmetra::converters
