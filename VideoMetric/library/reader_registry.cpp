#include "vidmetra/reader_registry.h"

#include "vidmetra/file_name_ending.h"
#include "vidmetra/read_only_file.h"

namespace vidmetra {

const ReaderEntry* ReaderRegistry::Select(const std::string& name, int width, int height) const {
  if (width > 0 && height > 0) return &sized_reader_;
  if (width != 0 || height != 0) return nullptr;
  if (Claims(sized_reader_, name)) return nullptr;
  if (const ReaderEntry* entry = ClaimingEnding(name)) return entry;
  return AcceptingContent(name);
}

std::unique_ptr<SequenceReader> ReaderRegistry::Open(const ReaderRequest& request, std::string* failure) const {
  std::string reason;
  const ReaderEntry* entry = Select(request.name, request.width, request.height);
  std::unique_ptr<SequenceReader> reader;
  if (entry == nullptr || entry->open == nullptr) {
    reason = "no reader reads \"" + request.name + "\" (give the picture size of a raw file)";
  } else {
    reader = entry->open(request, reason);
  }
  if (failure != nullptr) *failure = reader ? std::string() : reason;
  return reader;
}

std::unique_ptr<SequenceReader> KeepIfOpened(std::unique_ptr<SequenceReader> reader, int status,
                                             std::string& failure) {
  if (status == 0) return reader;
  failure = reader->ErrorText(status, std::string::npos);
  if (const std::string detail = reader->FailureDetail(); !detail.empty()) failure += " (" + detail + ")";
  return nullptr;
}

bool ReaderRegistry::Claims(const ReaderEntry& entry, std::string_view name) {
  for (std::string_view ending : entry.endings) {
    if (HasEnding(name, ending)) return true;
  }
  return false;
}

const ReaderEntry* ReaderRegistry::ClaimingEnding(std::string_view name) const {
  for (const ReaderEntry& entry : entries_) {
    if (Claims(entry, name)) return &entry;
  }
  return nullptr;
}

const ReaderEntry* ReaderRegistry::AcceptingContent(const std::string& name) const {
  bool any_probe = false;
  for (const ReaderEntry& entry : entries_) any_probe = any_probe || entry.probe != nullptr;
  if (!any_probe) return nullptr;

  ReadOnlyFile file;
  if (!file.Open(name)) return nullptr;
  uint8_t head[kProbeBytes] = {};
  const size_t count = file.Size() < kProbeBytes ? static_cast<size_t>(file.Size()) : kProbeBytes;
  if (!file.ReadAt(0, head, count)) return nullptr;
  for (const ReaderEntry& entry : entries_) {
    if (entry.probe != nullptr && entry.probe(std::span<const uint8_t>(head, count))) return &entry;
  }
  return nullptr;
}

}  // namespace vidmetra
