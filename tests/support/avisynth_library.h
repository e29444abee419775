#pragma once
#include <string>

namespace vidmetra::testing {

// The AviSynth+ library the script tests load: VIDMETRA_AVISYNTH_LIBRARY when it names a file, else the one
// shared/third_party/build-avisynthplus.sh built into its cache (VIDMETRA_THIRD_PARTY_CACHE, else
// $XDG_CACHE_HOME or ~/.cache, then vidmetra-third-party/avisynthplus-*/lib). Empty when there is none.
std::string BuiltAvisynthLibrary();

}  // namespace vidmetra::testing
