#include "vidmetra/container_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vidmetra {

ContainerStream::ContainerStream(ReadOnlyFile file, Kind kind, const AviStreamHeader& header)
    : file_(std::move(file)), kind_(kind), header_(header) {}

bool ContainerStream::IsVideo() const { return number_ >= 0 && kind_ == kVideo; }

bool ContainerStream::IsAudio() const { return number_ >= 0 && kind_ == kAudio; }

const AviIndexEntry* ContainerStream::Entry(int64_t sample) const {
  const int64_t i = sample - Start();
  if (i < 0 || i >= Length()) return nullptr;
  return &index_[static_cast<size_t>(i)];
}

bool ContainerStream::DataOffset(const AviIndexEntry& entry, uint64_t& offset) const {
  const uint64_t base = offsets_absolute_ ? 0 : movi_base_;
  return !__builtin_add_overflow(entry.offset, base, &offset) && !__builtin_add_overflow(offset, 8u, &offset);
}

// A size the index claims past the end of the file is cut to what the file holds, so that nobody sizes a buffer by
// it; reading such a sample still fails, as the whole of it is not there.
int64_t ContainerStream::StoredBytes(const AviIndexEntry& entry) const {
  uint64_t offset = 0;
  if (!DataOffset(entry, offset) || offset >= file_.Size()) return entry.size == 0 ? 0 : 1;
  return static_cast<int64_t>(std::min<uint64_t>(entry.size, file_.Size() - offset));
}

bool ContainerStream::Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) {
  const AviIndexEntry* entry = Entry(sample);
  bytes_read = entry ? StoredBytes(*entry) : 0;
  if (!entry || capacity < entry->size) return false;
  if (entry->size == 0) return true;
  if (buffer == nullptr) return false;
  uint64_t offset = 0;
  return DataOffset(*entry, offset) && file_.ReadAt(offset, buffer, entry->size);
}

bool ContainerStream::GetInfo(StreamInfo& info) const {
  info = StreamInfo{};
  info.type = header_.type;
  info.handler = header_.handler;
  info.flags = header_.flags;
  info.priority = header_.priority;
  info.language = header_.language;
  info.initial_frames = header_.initial_frames;
  info.scale = header_.scale;
  info.rate = header_.rate;
  info.start = header_.start;
  info.length = header_.length;
  info.suggested_buffer_size = header_.suggested_buffer_size;
  info.quality = header_.quality;
  info.sample_size = header_.sample_size;
  info.frame = {header_.frame_left, header_.frame_top, header_.frame_right, header_.frame_bottom};
  return true;
}

bool ContainerStream::IsKeyFrame(int64_t sample) const {
  const AviIndexEntry* entry = Entry(sample);
  return entry && (entry->flags & kAviKeyFrameFlag) != 0;
}

int64_t ContainerStream::Length() const { return static_cast<int64_t>(index_.size()); }

int64_t ContainerStream::Start() const { return header_.start; }

int64_t ContainerStream::End() const { return Start() + Length() - 1; }

int64_t ContainerStream::FormatSize() const { return static_cast<int64_t>(format_.size()); }

bool ContainerStream::ReadFormat(void* buffer, int64_t size) const {
  if (format_.empty() || buffer == nullptr || FormatSize() > size) return false;
  std::memcpy(buffer, format_.data(), format_.size());
  return true;
}

void ContainerStream::ReserveIndex(size_t entries) {
  if (entries > index_.capacity()) index_.reserve(entries);
}

void ContainerStream::AddIndexEntry(const AviIndexEntry& entry) {
  if (index_.size() == index_.capacity()) index_.reserve(index_.capacity() + kAviIndexGrowth);
  index_.push_back(entry);
}

void ContainerStream::Finish(int32_t number, uint64_t movi_base, bool offsets_absolute) {
  number_ = number;
  movi_base_ = movi_base;
  offsets_absolute_ = offsets_absolute;
}

}  // namespace vidmetra
