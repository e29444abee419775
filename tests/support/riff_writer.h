#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vidmetra::testing {

// Builds RIFF bytes: little-endian values and nested chunks whose sizes are patched when they end.
class RiffWriter {
 public:
  void U8(uint8_t value) { bytes_.push_back(value); }
  void U16(uint16_t value);
  void U32(uint32_t value);
  void U64(uint64_t value);
  // Writes a four-character code.
  void Code(std::string_view code);
  void Bytes(std::span<const uint8_t> bytes);
  void Zeros(size_t count) { bytes_.resize(bytes_.size() + count, 0); }

  // Opens a chunk and returns the offset of its header; End() closes the innermost one.
  size_t Begin(std::string_view id);
  // Opens a LIST (or RIFF) with its list type.
  size_t BeginList(std::string_view id, std::string_view type);
  // Patches the innermost open chunk's size and adds the pad byte of an odd size.
  void End();
  void Chunk(std::string_view id, std::span<const uint8_t> data);

  void PatchU32(size_t offset, uint32_t value);
  void PatchU64(size_t offset, uint64_t value);

  size_t Size() const { return bytes_.size(); }
  const std::vector<uint8_t>& Data() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  std::vector<size_t> open_;
};

// Overwrites little-endian values inside built bytes.
void StoreLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);
void StoreLe64(std::vector<uint8_t>& bytes, size_t offset, uint64_t value);

}  // namespace vidmetra::testing
