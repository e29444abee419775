#include "vidmetra/avi_container.h"

#include <algorithm>
#include <new>

#include "vidmetra/avi_format_error.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/fourcc.h"

namespace vidmetra {

namespace {

constexpr uint64_t kChunkHeaderBytes = 8;
constexpr uint64_t kListTypeBytes = 4;

ContainerStream::Kind KindOf(uint32_t stream_type) {
  if (stream_type == FourCc("auds")) return ContainerStream::kAudio;
  if (stream_type == FourCc("vids")) return ContainerStream::kVideo;
  if (stream_type == FourCc("mids") || stream_type == FourCc("txts")) return ContainerStream::kOther;
  throw AviFormatError{};
}

}  // namespace

bool AviContainer::Open(const std::string& name) {
  Reset();
  name_ = name;
  if (!file_.Open(name)) {
    failed_ = true;
    return false;
  }
  try {
    index_reader_.emplace(file_);
    Walk();
    FinishStreams();
  } catch (const AviFormatError&) {
    failed_ = true;
  } catch (const std::bad_alloc&) {
    failed_ = true;
  }
  index_reader_.reset();
  file_.Close();
  lists_.clear();
  if (failed_) streams_.clear();
  return !failed_;
}

void AviContainer::Reset() {
  file_.Close();
  index_reader_.reset();
  position_ = 0;
  failed_ = false;
  riff_seen_ = false;
  main_header_seen_ = false;
  offsets_absolute_ = true;
  open_dml_index_ = false;
  total_frames_ = 0;
  movi_base_ = 0;
  streams_.clear();
  main_header_ = AviMainHeader{};
  lists_.clear();
  strh_count_ = 0;
  strf_count_ = 0;
}

void AviContainer::Walk() {
  for (;;) {
    CloseFinishedLists();
    const uint64_t limit = lists_.empty() ? file_.Size() : lists_.back().end;
    if (limit - position_ < kChunkHeaderBytes) {
      if (lists_.empty()) break;
      // Too little is left in the list for another chunk header: the list is done.
      position_ = limit;
      continue;
    }
    HandleChunk(ReadChunk(limit));
  }
  if (!riff_seen_) throw AviFormatError{};
}

void AviContainer::CloseFinishedLists() {
  while (!lists_.empty() && lists_.back().end <= position_) {
    if (lists_.back().type == FourCc("hdrl") && strh_count_ != strf_count_) throw AviFormatError{};
    position_ = std::max(position_, lists_.back().next);
    lists_.pop_back();
  }
}

// Sizes from the file are clamped to the enclosing list (or the file), so no chunk reaches past
// its parent and every chunk moves the walk forward by at least its 8-byte header.
AviContainer::Chunk AviContainer::ReadChunk(uint64_t limit) {
  uint8_t bytes[kChunkHeaderBytes];
  if (!file_.ReadAt(position_, bytes, sizeof bytes)) throw AviFormatError{};
  Chunk chunk;
  chunk.id = LoadLe32(bytes);
  chunk.size = LoadLe32(bytes + 4);
  chunk.data = position_ + kChunkHeaderBytes;
  chunk.data_end = std::min(chunk.data + chunk.size, limit);
  chunk.end = std::min(chunk.data + chunk.size + (chunk.size & 1u), limit);
  return chunk;
}

void AviContainer::HandleChunk(const Chunk& chunk) {
  position_ = chunk.end;
  // Only a file that starts as a RIFF "AVI " form is an AVI file.
  if (!riff_seen_ && chunk.id != FourCc("RIFF")) throw AviFormatError{};
  switch (chunk.id) {
    case FourCc("RIFF"): return HandleRiff(chunk);
    case FourCc("LIST"): return HandleList(chunk);
    case FourCc("avih"): if (InList(FourCc("hdrl"))) HandleMainHeader(chunk); return;
    case FourCc("strh"): if (InList(FourCc("strl"))) HandleStreamHeader(chunk); return;
    case FourCc("strf"): if (InList(FourCc("strl"))) HandleStreamFormat(chunk); return;
    case FourCc("indx"): if (InList(FourCc("strl"))) HandleOpenDmlIndex(chunk); return;
    case FourCc("idx1"): if (InList(FourCc("AVI ")) && !open_dml_index_) HandleClassicIndex(chunk); return;
    case FourCc("dmlh"): if (InList(FourCc("odml"))) HandleExtendedHeader(chunk); return;
    default: return;
  }
}

// The first form must be "AVI "; files beyond 1 GiB continue in "AVIX" forms, whose data the OpenDML
// indexes reach directly, so those are stepped over.
void AviContainer::HandleRiff(const Chunk& chunk) {
  if (!lists_.empty()) throw AviFormatError{};
  const uint32_t type = ReadListType(chunk);
  if (!riff_seen_ && type == FourCc("AVI ")) {
    riff_seen_ = true;
    PushList(type, chunk);
  } else if (!riff_seen_ || type != FourCc("AVIX")) {
    throw AviFormatError{};
  }
}

void AviContainer::HandleList(const Chunk& chunk) {
  const uint32_t type = ReadListType(chunk);
  switch (type) {
    case FourCc("hdrl"):
    case FourCc("odml"):
      return PushList(type, chunk);
    case FourCc("strl"):
      if (strh_count_ != strf_count_) throw AviFormatError{};
      return PushList(type, chunk);
    case FourCc("movi"):
      movi_base_ = chunk.data;
      return;
    case FourCc("rec "):
      // Interleave groups hold sample chunks; entering them changes no context.
      position_ = chunk.data + kListTypeBytes;
      return;
    default:
      return;
  }
}

void AviContainer::PushList(uint32_t type, const Chunk& chunk) {
  if (lists_.size() >= kMaxListDepth) throw AviFormatError{};
  lists_.push_back({type, chunk.data_end, chunk.end});
  position_ = chunk.data + kListTypeBytes;
}

bool AviContainer::InList(uint32_t type) const { return !lists_.empty() && lists_.back().type == type; }

uint32_t AviContainer::ReadListType(const Chunk& chunk) const {
  uint8_t bytes[kListTypeBytes];
  if (chunk.size < kListTypeBytes || chunk.data_end - chunk.data < kListTypeBytes) throw AviFormatError{};
  if (!file_.ReadAt(chunk.data, bytes, sizeof bytes)) throw AviFormatError{};
  return LoadLe32(bytes);
}

AviHeaderBytes AviContainer::ReadHeaderBytes(const Chunk& chunk) const {
  AviHeaderBytes bytes{};
  const auto count = static_cast<size_t>(std::min<uint64_t>(bytes.size(), chunk.data_end - chunk.data));
  if (!file_.ReadAt(chunk.data, bytes.data(), count)) throw AviFormatError{};
  return bytes;
}

// A second main header would replace the stream table under streams already described.
void AviContainer::HandleMainHeader(const Chunk& chunk) {
  if (main_header_seen_) throw AviFormatError{};
  main_header_seen_ = true;
  main_header_ = ParseAviMainHeader(ReadHeaderBytes(chunk));
  total_frames_ = main_header_.total_frames;
  if (main_header_.streams > kMaxStreams) throw AviFormatError{};
  streams_.resize(main_header_.streams);
}

void AviContainer::HandleStreamHeader(const Chunk& chunk) {
  if (strh_count_ != strf_count_) throw AviFormatError{};
  const AviStreamHeader header = ParseAviStreamHeader(ReadHeaderBytes(chunk));
  const ContainerStream::Kind kind = KindOf(header.type);
  if (strh_count_ >= streams_.size()) throw AviFormatError{};
  ReadOnlyFile stream_file;
  if (!stream_file.Open(name_)) throw AviFormatError{};
  streams_[strh_count_] = std::make_unique<ContainerStream>(std::move(stream_file), kind, header);
  // The header's length is only a claim; the reservation is bounded by the file.
  index_reader_->Reserve(*streams_[strh_count_], header.length);
  ++strh_count_;
}

void AviContainer::HandleStreamFormat(const Chunk& chunk) {
  if (strf_count_ >= strh_count_) throw AviFormatError{};
  std::vector<uint8_t> format(static_cast<size_t>(chunk.data_end - chunk.data));
  if (!file_.ReadAt(chunk.data, format.data(), format.size())) throw AviFormatError{};
  streams_[strf_count_]->SetFormat(std::move(format));
  ++strf_count_;
}

void AviContainer::HandleOpenDmlIndex(const Chunk& chunk) {
  if (strh_count_ == 0 || strh_count_ != strf_count_) throw AviFormatError{};
  if (index_reader_->ReadOpenDmlIndex(chunk.data, chunk.data_end, *streams_[strh_count_ - 1])) {
    open_dml_index_ = true;
  }
}

void AviContainer::HandleClassicIndex(const Chunk& chunk) {
  if (movi_base_ == 0) throw AviFormatError{};
  offsets_absolute_ =
      index_reader_->ReadClassicIndex(chunk.data, chunk.data_end, movi_base_, total_frames_, streams_);
}

void AviContainer::HandleExtendedHeader(const Chunk& chunk) {
  uint8_t bytes[4];
  if (chunk.data_end - chunk.data < sizeof bytes) return;
  if (!file_.ReadAt(chunk.data, bytes, sizeof bytes)) throw AviFormatError{};
  total_frames_ = std::max(total_frames_, LoadLe32(bytes));
}

void AviContainer::FinishStreams() {
  for (size_t i = 0; i < streams_.size(); ++i) {
    if (streams_[i]) streams_[i]->Finish(static_cast<int32_t>(i), movi_base_, offsets_absolute_);
  }
}

ContainerStream* AviContainer::Stream(int32_t number) const {
  if (number < 0 || number >= StreamCount()) return nullptr;
  return streams_[static_cast<size_t>(number)].get();
}

ContainerStream* AviContainer::NthStream(int32_t n, bool (ContainerStream::*is_kind)() const) const {
  for (const auto& stream : streams_) {
    if (stream && (stream.get()->*is_kind)() && n-- == 0) return stream.get();
  }
  return nullptr;
}

ContainerStream* AviContainer::VideoStream(int32_t n) const { return NthStream(n, &ContainerStream::IsVideo); }

ContainerStream* AviContainer::AudioStream(int32_t n) const { return NthStream(n, &ContainerStream::IsAudio); }

}  // namespace vidmetra
