#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra::testing {

struct NamedBytes {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Small valid AVI files covering every index layout and stream kind: the fuzzing corpus starts
// from them, and the unit tests replay them.
std::vector<NamedBytes> AviSeedFiles();

}  // namespace vidmetra::testing
