#pragma once
// Some parsers take part of what they work on from the user rather than the file: a picture size, a colour mode,
// a frame range. Their fuzzers take those from the input's first bytes (one byte, or two little-endian bytes, per
// field) and hand the parser the rest as the file. The seed writers build inputs the same way.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vidmetra/byte_order.h"

namespace vidmetra::fuzz {

class LeadingFields {
 public:
  LeadingFields(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // A field the input is too short for reads as 0 and makes the input incomplete.
  uint8_t Byte() { return Take(1) ? data_[position_ - 1] : 0; }
  uint16_t Le16() { return Take(2) ? LoadLe16(data_ + position_ - 2) : 0; }
  bool Complete() const { return complete_; }

  // The file: what follows the fields read so far.
  const uint8_t* Rest() const { return data_ + position_; }
  size_t RestSize() const { return size_ - position_; }

 private:
  bool Take(size_t count) {
    if (size_ - position_ < count) {
      complete_ = false;
      return false;
    }
    position_ += count;
    return true;
  }

  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool complete_ = true;
};

// The writing side, for seeds: fields appended in the order the fuzzer reads them, then the file.
inline void AppendByte(std::vector<uint8_t>& bytes, uint8_t value) { bytes.push_back(value); }
inline void AppendLe16(std::vector<uint8_t>& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace vidmetra::fuzz
