#include "support/riff_writer.h"

namespace vidmetra::testing {

void RiffWriter::U16(uint16_t value) {
  U8(static_cast<uint8_t>(value));
  U8(static_cast<uint8_t>(value >> 8));
}

void RiffWriter::U32(uint32_t value) {
  U16(static_cast<uint16_t>(value));
  U16(static_cast<uint16_t>(value >> 16));
}

void RiffWriter::U64(uint64_t value) {
  U32(static_cast<uint32_t>(value));
  U32(static_cast<uint32_t>(value >> 32));
}

void RiffWriter::Code(std::string_view code) {
  for (size_t i = 0; i < 4; ++i) U8(i < code.size() ? static_cast<uint8_t>(code[i]) : 0);
}

void RiffWriter::Bytes(std::span<const uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }

size_t RiffWriter::Begin(std::string_view id) {
  const size_t offset = bytes_.size();
  Code(id);
  U32(0);
  open_.push_back(offset);
  return offset;
}

size_t RiffWriter::BeginList(std::string_view id, std::string_view type) {
  const size_t offset = Begin(id);
  Code(type);
  return offset;
}

void RiffWriter::End() {
  const size_t offset = open_.back();
  open_.pop_back();
  const size_t size = bytes_.size() - offset - 8;
  PatchU32(offset + 4, static_cast<uint32_t>(size));
  if (size % 2 != 0) U8(0);
}

void RiffWriter::Chunk(std::string_view id, std::span<const uint8_t> data) {
  Begin(id);
  Bytes(data);
  End();
}

void RiffWriter::PatchU32(size_t offset, uint32_t value) { StoreLe32(bytes_, offset, value); }

void RiffWriter::PatchU64(size_t offset, uint64_t value) { StoreLe64(bytes_, offset, value); }

void StoreLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void StoreLe64(std::vector<uint8_t>& bytes, size_t offset, uint64_t value) {
  StoreLe32(bytes, offset, static_cast<uint32_t>(value));
  StoreLe32(bytes, offset + 4, static_cast<uint32_t>(value >> 32));
}

}  // namespace vidmetra::testing
