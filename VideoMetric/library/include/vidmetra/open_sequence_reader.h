#pragma once
// Chooses and opens the reader for an input file through the registry of reader kinds.
#include <memory>
#include <string>
#include <string_view>

#include "vidmetra/sequence_reader.h"

namespace vidmetra {

// Sequence files hold I420 frames only, so a name ending in "seq" is read in that mode whatever was asked for.
int RawColourMode(std::string_view name, int colour_space);

// The opened reader, or null when no reader fits the file or it fails to open. Width and height both above 0 mean
// a raw file, whatever its name; one of them alone means nothing can be read; neither leaves the choice to the
// name's ending, then to the file's first bytes. `prefer_yv12` goes to the AVI reader. When the result is null,
// `failure` (if given) receives why: the reader's error text and what else it knows.
std::unique_ptr<SequenceReader> OpenSequenceReader(const std::string& name, int width, int height,
                                                   int colour_space, bool prefer_yv12,
                                                   std::string* failure = nullptr);

}  // namespace vidmetra
