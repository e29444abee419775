// libFuzzer entry for the converters that read sequence (".seq") and group-BMP (".gbmp") files. Neither format has
// a header: the user gives the picture size and the frame range. They come from the input's first bytes (the tool,
// half the width, half the height, the first and the last frame); the rest is the file, split in two halves for
// the tool that compares two sequences. Each run must end in one of the tool's messages, and what it writes must be
// exactly the whole frames the input holds in the range.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_input_file.h"
#include "grouppack.h"
#include "leading_fields.h"
#include "packfidelity.h"
#include "packtrim.h"

namespace {

namespace converters = vidmetra::converters;

enum Tool : uint8_t { kPackTrim, kPackFidelity, kGroupPack, kToolCount };

struct Choice {
  Tool tool;
  converters::PictureSize size;
  long long first;
  long long last;
};

std::string Scratch(const char* name) { return (vidmetra::fuzz::ScratchFolder() / name).string(); }

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Run(const converters::ToolDescription& tool, const Choice& choice,
                std::initializer_list<std::pair<const char*, std::string>> files) {
  converters::FieldValues values;
  values.Set("width", std::to_string(choice.size.width));
  values.Set("height", std::to_string(choice.size.height));
  values.Set("from", std::to_string(choice.first));
  values.Set("to", std::to_string(choice.last));
  for (const auto& [key, path] : files) values.Set(key, path);
  converters::RunProgress progress;
  return converters::RunConversion(tool, values, progress);
}

// The frames of `frame_bytes` each a tool should have taken from `input_bytes` for the choice's range.
long long FramesInRange(const Choice& choice, size_t input_bytes, size_t frame_bytes) {
  if (choice.last < choice.first) return 0;
  const auto available = static_cast<long long>(input_bytes / frame_bytes) - choice.first;
  return std::max(0LL, std::min(available, choice.last - choice.first + 1));
}

void CheckCut(const Choice& choice, const uint8_t* data, size_t size) {
  const std::string message = Run(converters::PackTrimTool(), choice, {{"seq", Scratch("in.seq")},
                                                                      {"out", Scratch("out.seq")}});
  if (message != converters::kOkMessage) return;
  const size_t frame_bytes = choice.size.SequenceFrameBytes();
  const auto frames = static_cast<size_t>(FramesInRange(choice, size, frame_bytes));
  const std::vector<uint8_t> cut = ReadAll(Scratch("out.seq"));
  const uint8_t* expected = data + static_cast<size_t>(choice.first) * frame_bytes;
  if (cut.size() != frames * frame_bytes || (frames > 0 && !std::equal(cut.begin(), cut.end(), expected))) {
    std::abort();
  }
}

void CheckComparison(const Choice& choice, const uint8_t* data, size_t size) {
  const size_t half = size / 2;
  if (!vidmetra::fuzz::WriteFile(Scratch("in.seq"), data, half) ||
      !vidmetra::fuzz::WriteFile(Scratch("dest.seq"), data + half, size - half)) {
    return;
  }
  const std::string message = Run(converters::PackFidelityTool(), choice, {{"orig", Scratch("in.seq")},
                                                                          {"dest", Scratch("dest.seq")},
                                                                          {"result", Scratch("report.txt")}});
  if (message != converters::kOkMessage) return;
  // One line per frame both halves hold in the range.
  const size_t frame_bytes = choice.size.SequenceFrameBytes();
  const long long frames =
      std::min(FramesInRange(choice, half, frame_bytes), FramesInRange(choice, size - half, frame_bytes));
  const std::vector<uint8_t> report = ReadAll(Scratch("report.txt"));
  const std::string text(report.begin(), report.end());
  long long lines = 0;
  for (size_t at = text.find("frame num"); at != std::string::npos; at = text.find("frame num", at + 1)) ++lines;
  if (lines != frames) std::abort();
}

void CheckGroup(const Choice& choice, size_t size) {
  const std::string message =
      Run(converters::GroupPackTool(), choice, {{"gbmp", Scratch("in.seq")}, {"seq", Scratch("out.seq")}});
  if (message != converters::kOkMessage) return;
  const auto frames = static_cast<size_t>(FramesInRange(choice, size, choice.size.GroupFrameBytes()));
  if (ReadAll(Scratch("out.seq")).size() != frames * choice.size.SequenceFrameBytes()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vidmetra::fuzz::LeadingFields fields(data, size);
  const auto tool = static_cast<Tool>(fields.Byte() % kToolCount);
  const converters::PictureSize picture{2 * fields.Byte(), 2 * fields.Byte()};
  const long long first = fields.Byte(), last = fields.Byte();
  if (!fields.Complete()) return 0;
  const Choice choice{tool, picture, first, last};
  const uint8_t* file = fields.Rest();
  const size_t file_size = fields.RestSize();
  if (!vidmetra::fuzz::WriteFile(Scratch("in.seq"), file, file_size)) return 0;
  switch (tool) {
    case kPackTrim:
      CheckCut(choice, file, file_size);
      break;
    case kPackFidelity:
      CheckComparison(choice, file, file_size);
      break;
    default:
      CheckGroup(choice, file_size);
      break;
  }
  return 0;
}
