#include "seed_corpus.h"

#include <cstdio>

#include "support/byte_files.h"

namespace vidmetra::fuzz {

std::optional<std::filesystem::path> CorpusFolder(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-directory\n", argv[0]);
    return std::nullopt;
  }
  std::filesystem::create_directories(argv[1]);
  return std::filesystem::path(argv[1]);
}

void WriteSeeds(const std::filesystem::path& folder, const std::vector<testing::NamedBytes>& seeds,
                const char* ending) {
  for (const testing::NamedBytes& seed : seeds) testing::WriteBytes((folder / (seed.name + ending)).string(), seed.bytes);
}

testing::NamedBytes FieldsThenFile(const std::string& name, std::vector<uint8_t> fields, size_t file_bytes,
                                   uint32_t pattern) {
  const std::vector<uint8_t> file = testing::PatternBytes(file_bytes, pattern);
  fields.insert(fields.end(), file.begin(), file.end());
  return {name, std::move(fields)};
}

}  // namespace vidmetra::fuzz
