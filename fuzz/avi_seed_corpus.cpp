// Writes the seed corpus of the AVI container fuzzer into the directory given as argument.
#include "seed_corpus.h"
#include "support/avi_seeds.h"

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  vidmetra::fuzz::WriteSeeds(*folder, vidmetra::testing::AviSeedFiles(), ".avi");
  return 0;
}
