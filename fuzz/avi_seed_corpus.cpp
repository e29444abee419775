// Writes the seed corpus of the AVI container fuzzer into the directory given as argument.
#include <cstdio>
#include <filesystem>

#include "support/avi_builder.h"
#include "support/avi_seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-directory\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::filesystem::create_directories(directory);
  for (const auto& seed : vidmetra::testing::AviSeedFiles()) {
    vidmetra::testing::WriteBytes((directory / (seed.name + ".avi")).string(), seed.bytes);
  }
  return 0;
}
