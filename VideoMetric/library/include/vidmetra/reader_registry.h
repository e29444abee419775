#pragma once
// The reader kinds the library knows, each with the file-name endings it claims and, where the content can tell, a
// probe of the file's first bytes. A new input format is a reader plus one registration.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vidmetra/sequence_reader.h"

namespace vidmetra {

struct ReaderRequest {
  std::string name;
  int width = 0;
  int height = 0;
  int colour_space = 0;  // for raw files
  bool prefer_yv12 = false;
};

struct ReaderEntry {
  std::string_view kind;  // shown in tests and logs, e.g. "raw YUV"
  // Matched against the end of the name, ignoring ASCII case; a claimed ending decides even when the open fails.
  std::vector<std::string_view> endings;
  // Whether the first bytes of a file no ending claims are this kind's; null when the content cannot tell.
  bool (*probe)(std::span<const uint8_t> head) = nullptr;
  // The opened reader, or null when the file does not open; `failure` then receives the reader's error text.
  std::unique_ptr<SequenceReader> (*open)(const ReaderRequest& request, std::string& failure) = nullptr;
};

class ReaderRegistry {
 public:
  // Bytes a probe is shown, at most: enough for several MPEG-TS packets.
  static constexpr size_t kProbeBytes = 4096;

  // Files with a size are raw whatever their name, so the raw kind is not chosen by name or content.
  explicit ReaderRegistry(ReaderEntry sized_reader) : sized_reader_(std::move(sized_reader)) {}

  void Register(ReaderEntry entry) { entries_.push_back(std::move(entry)); }

  // Both sizes above 0: the sized reader; one of them alone: none; neither: the first entry claiming the name's
  // ending, else the first whose probe accepts the file's first bytes. A name the sized reader claims gives none
  // without a size: it says what the file is but not how to cut it into frames.
  const ReaderEntry* Select(const std::string& name, int width, int height) const;
  // Null when no kind fits or the file does not open; `failure`, when given, then says why.
  std::unique_ptr<SequenceReader> Open(const ReaderRequest& request, std::string* failure = nullptr) const;

 private:
  static bool Claims(const ReaderEntry& entry, std::string_view name);
  const ReaderEntry* ClaimingEnding(std::string_view name) const;
  const ReaderEntry* AcceptingContent(const std::string& name) const;

  ReaderEntry sized_reader_;
  std::vector<ReaderEntry> entries_;
};

// Opens `reader` with `open` (its status); on failure the reader's error text, with what else it knows, goes to
// `failure` and the result is null.
std::unique_ptr<SequenceReader> KeepIfOpened(std::unique_ptr<SequenceReader> reader, int status,
                                             std::string& failure);

// Every reader kind of the library, registered once.
const ReaderRegistry& DefaultReaderRegistry();

}  // namespace vidmetra
