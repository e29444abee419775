// Writes the seed corpus of the BMP reader fuzzer into the directory given as argument.
#include <cstdio>
#include <filesystem>

#include "support/bmp_seeds.h"
#include "support/byte_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-directory\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::filesystem::create_directories(directory);
  for (const auto& seed : vidmetra::testing::BmpSeedFiles()) {
    vidmetra::testing::WriteBytes((directory / (seed.name + ".bmp")).string(), seed.bytes);
  }
  return 0;
}
