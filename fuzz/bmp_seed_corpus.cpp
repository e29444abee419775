// Writes the seed corpus of the BMP reader fuzzer into the directory given as argument.
#include "seed_corpus.h"
#include "support/bmp_seeds.h"

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  vidmetra::fuzz::WriteSeeds(*folder, vidmetra::testing::BmpSeedFiles(), ".bmp");
  return 0;
}
