#pragma once
// What the reader fuzzers do with a reader that opened: read it as the engine and the frame window do.
#include "vidmetra/sequence_reader.h"

namespace vidmetra::fuzz {

// Describes the reader, reads its first frames in order, jumps back to the first and on to the last. Pictures too
// large to be worth the memory while fuzzing are left unread.
void ReadAsTheEngineDoes(SequenceReader& reader);

}  // namespace vidmetra::fuzz
