#include "support/avi_builder.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace vidmetra::testing {

namespace {

constexpr uint32_t kKeyFrameFlag = 0x10;
constexpr uint32_t kDeltaFrameBit = 0x80000000u;

bool IsOpenDml(AviIndexLayout layout) {
  return layout == AviIndexLayout::kOpenDml || layout == AviIndexLayout::kOpenDmlWithClassic ||
         layout == AviIndexLayout::kOpenDmlDirect;
}

bool HasClassicAfterMovi(AviIndexLayout layout) {
  return layout == AviIndexLayout::kClassicRelative || layout == AviIndexLayout::kClassicAbsolute ||
         layout == AviIndexLayout::kOpenDmlWithClassic;
}

std::string TwoDigits(size_t number) {
  return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

}  // namespace

struct AviBuilder::Placement {
  uint64_t movi_base = 0;
  std::vector<std::vector<uint64_t>> sample_offsets;  // chunk header of each sample
  std::vector<size_t> index_slots;                    // first entry of each stream's indx
};

int AviBuilder::AddVideoStream(int32_t width, int32_t height, const std::string& compression, uint16_t bit_count) {
  RiffWriter format;
  format.U32(40);
  format.U32(static_cast<uint32_t>(width));
  format.U32(static_cast<uint32_t>(height));
  format.U16(1);
  format.U16(bit_count);
  format.Code(compression);
  format.U32(static_cast<uint32_t>(static_cast<int64_t>(width) * height * bit_count / 8));
  format.Zeros(16);
  AviStreamSpec stream_plan;
  stream_plan.handler = compression;
  stream_plan.frame_right = static_cast<int16_t>(width);
  stream_plan.frame_bottom = static_cast<int16_t>(height);
  stream_plan.format = format.Data();
  return AddStream(std::move(stream_plan));
}

int AviBuilder::AddAudioStream(uint16_t channels, uint32_t sample_rate, uint16_t bits) {
  const auto block_align = static_cast<uint16_t>(channels * bits / 8);
  RiffWriter format;
  format.U16(1);
  format.U16(channels);
  format.U32(sample_rate);
  format.U32(sample_rate * block_align);
  format.U16(block_align);
  format.U16(bits);
  format.U16(0);
  AviStreamSpec stream_plan;
  stream_plan.type = "auds";
  stream_plan.scale = block_align;
  stream_plan.rate = sample_rate * block_align;
  stream_plan.sample_size = block_align;
  stream_plan.format = format.Data();
  stream_plan.chunk_suffix = "wb";
  return AddStream(std::move(stream_plan));
}

int AviBuilder::AddStream(AviStreamSpec stream_plan) {
  streams_.push_back(std::move(stream_plan));
  return static_cast<int>(streams_.size() - 1);
}

void AviBuilder::AddSample(int stream, std::vector<uint8_t> data, bool key_frame) {
  AviStreamSpec& stream_plan = Stream(stream);
  stream_plan.samples.push_back(std::move(data));
  stream_plan.key_frames.push_back(key_frame);
}

std::string AviBuilder::ChunkId(size_t stream) const { return TwoDigits(stream) + streams_[stream].chunk_suffix; }

size_t AviBuilder::SampleCount() const {
  size_t count = 0;
  for (const auto& stream_plan : streams_) count = std::max(count, stream_plan.samples.size());
  return count;
}

std::vector<uint8_t> AviBuilder::Build(AviIndexLayout layout) const {
  RiffWriter riff;
  Placement placement;
  for (const auto& stream_plan : streams_) placement.sample_offsets.emplace_back(stream_plan.samples.size(), 0);
  placement.index_slots.resize(streams_.size());
  riff.BeginList("RIFF", "AVI ");
  WriteHeaderList(riff, layout, placement);
  if (layout == AviIndexLayout::kClassicBeforeMovi) WriteClassicIndex(riff, layout, placement);
  WriteMovi(riff, layout, placement);
  if (HasClassicAfterMovi(layout)) WriteClassicIndex(riff, layout, placement);
  riff.End();
  return riff.Data();
}

void AviBuilder::Write(const std::string& path, AviIndexLayout layout) const { WriteBytes(path, Build(layout)); }

void AviBuilder::WriteHeaderList(RiffWriter& riff, AviIndexLayout layout, Placement& placement) const {
  riff.BeginList("LIST", "hdrl");
  riff.Begin("avih");
  riff.U32(40000);
  riff.Zeros(8);
  riff.U32(0x10);
  riff.U32(static_cast<uint32_t>(SampleCount()));
  riff.U32(0);
  riff.U32(static_cast<uint32_t>(streams_.size()));
  riff.Zeros(28);
  riff.End();
  for (size_t s = 0; s < streams_.size(); ++s) {
    const AviStreamSpec& stream_plan = streams_[s];
    riff.BeginList("LIST", "strl");
    riff.Begin("strh");
    riff.Code(stream_plan.type);
    riff.Code(stream_plan.handler);
    riff.Zeros(12);
    riff.U32(stream_plan.scale);
    riff.U32(stream_plan.rate);
    riff.U32(stream_plan.start);
    riff.U32(static_cast<uint32_t>(stream_plan.samples.size()));
    riff.U32(0);
    riff.U32(0xFFFFFFFFu);
    riff.U32(stream_plan.sample_size);
    riff.U16(0);
    riff.U16(0);
    riff.U16(static_cast<uint16_t>(stream_plan.frame_right));
    riff.U16(static_cast<uint16_t>(stream_plan.frame_bottom));
    riff.End();
    riff.Chunk("strf", stream_plan.format);
    if (IsOpenDml(layout)) {
      const bool direct = layout == AviIndexLayout::kOpenDmlDirect;
      const size_t ix_chunks = (stream_plan.samples.size() + entries_per_standard_index_ - 1) / entries_per_standard_index_;
      const size_t entries = direct ? stream_plan.samples.size() : ix_chunks;
      riff.Begin("indx");
      riff.U16(direct ? 2 : 4);
      riff.U8(0);
      riff.U8(direct ? 1 : 0);
      riff.U32(static_cast<uint32_t>(entries));
      riff.Code(ChunkId(s));
      riff.Zeros(12);
      placement.index_slots[s] = riff.Size();
      riff.Zeros(entries * (direct ? 8 : 16));
      riff.End();
    }
    riff.End();
  }
  if (IsOpenDml(layout)) {
    riff.BeginList("LIST", "odml");
    riff.Begin("dmlh");
    riff.U32(static_cast<uint32_t>(SampleCount()));
    riff.Zeros(244);
    riff.End();
    riff.End();
  }
  riff.End();
}

void AviBuilder::WriteMovi(RiffWriter& riff, AviIndexLayout layout, Placement& placement) const {
  placement.movi_base = riff.BeginList("LIST", "movi") + 8;
  for (size_t i = 0; i < SampleCount(); ++i) {
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (i >= streams_[s].samples.size()) continue;
      placement.sample_offsets[s][i] = riff.Size();
      riff.Chunk(ChunkId(s), streams_[s].samples[i]);
    }
  }
  for (size_t s = 0; s < streams_.size(); ++s) {
    if (layout == AviIndexLayout::kOpenDmlDirect) {
      PatchDirectIndex(riff, s, placement);
    } else if (IsOpenDml(layout)) {
      WriteStandardIndexes(riff, s, placement);
    }
  }
  riff.End();
}

void AviBuilder::WriteStandardIndexes(RiffWriter& riff, size_t stream, Placement& placement) const {
  const AviStreamSpec& stream_plan = streams_[stream];
  size_t slot = placement.index_slots[stream];
  for (size_t first = 0; first < stream_plan.samples.size(); first += entries_per_standard_index_) {
    const size_t count = std::min(entries_per_standard_index_, stream_plan.samples.size() - first);
    const size_t chunk = riff.Begin("ix" + TwoDigits(stream));
    riff.U16(2);
    riff.U8(0);
    riff.U8(1);
    riff.U32(static_cast<uint32_t>(count));
    riff.Code(ChunkId(stream));
    riff.U64(placement.movi_base);
    riff.U32(0);
    for (size_t i = first; i < first + count; ++i) {
      riff.U32(static_cast<uint32_t>(placement.sample_offsets[stream][i] + 8 - placement.movi_base));
      riff.U32(static_cast<uint32_t>(stream_plan.samples[i].size()) | (stream_plan.key_frames[i] ? 0 : kDeltaFrameBit));
    }
    riff.End();
    riff.PatchU64(slot, chunk);
    riff.PatchU32(slot + 8, static_cast<uint32_t>(riff.Size() - chunk));
    riff.PatchU32(slot + 12, static_cast<uint32_t>(count));
    slot += 16;
  }
}

void AviBuilder::PatchDirectIndex(RiffWriter& riff, size_t stream, const Placement& placement) const {
  const AviStreamSpec& stream_plan = streams_[stream];
  for (size_t i = 0; i < stream_plan.samples.size(); ++i) {
    const size_t slot = placement.index_slots[stream] + 8 * i;
    riff.PatchU32(slot, static_cast<uint32_t>(placement.sample_offsets[stream][i] + 8));
    riff.PatchU32(slot + 4, static_cast<uint32_t>(stream_plan.samples[i].size()) | (stream_plan.key_frames[i] ? 0 : kDeltaFrameBit));
  }
}

void AviBuilder::WriteClassicIndex(RiffWriter& riff, AviIndexLayout layout, const Placement& placement) const {
  const bool relative = layout == AviIndexLayout::kClassicRelative;
  const bool disagreeing = layout == AviIndexLayout::kOpenDmlWithClassic;
  riff.Begin("idx1");
  for (size_t i = 0; i < SampleCount(); ++i) {
    for (size_t s = 0; s < streams_.size(); ++s) {
      if (i >= streams_[s].samples.size()) continue;
      const uint64_t offset = placement.sample_offsets[s][i] - (relative ? placement.movi_base : 0);
      const auto size = static_cast<uint32_t>(streams_[s].samples[i].size());
      riff.Code(ChunkId(s));
      riff.U32(streams_[s].key_frames[i] && !disagreeing ? kKeyFrameFlag : 0);
      riff.U32(static_cast<uint32_t>(offset));
      riff.U32(disagreeing ? size / 2 : size);
    }
  }
  riff.End();
}

void BeginMinimalHeaderList(RiffWriter& riff, uint32_t streams, uint32_t total_frames) {
  riff.BeginList("LIST", "hdrl");
  riff.Begin("avih");
  riff.Zeros(16);
  riff.U32(total_frames);
  riff.U32(0);
  riff.U32(streams);
  riff.Zeros(28);
  riff.End();
  riff.BeginList("LIST", "strl");
  riff.Begin("strh");
  riff.Code("vids");
  riff.Zeros(52);
  riff.End();
  riff.Chunk("strf", std::vector<uint8_t>(40, 0));
}

}  // namespace vidmetra::testing
