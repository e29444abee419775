#pragma once
// What every seed-corpus writer shares: the corpus folder from its one argument, and the seeds written into it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/avi_seeds.h"

namespace vidmetra::fuzz {

// The folder named by the only argument, created; nullopt (after printing the usage) when the arguments are wrong.
std::optional<std::filesystem::path> CorpusFolder(int argc, char** argv);
// Each seed as <folder>/<name><ending>.
void WriteSeeds(const std::filesystem::path& folder, const std::vector<testing::NamedBytes>& seeds,
                const char* ending);
// A seed of a target that takes leading fields (leading_fields.h): the fields' bytes, then `file_bytes` pattern
// bytes as the file.
testing::NamedBytes FieldsThenFile(const std::string& name, std::vector<uint8_t> fields, size_t file_bytes,
                                   uint32_t pattern);

}  // namespace vidmetra::fuzz
