#pragma once
// How many threads each video decoder may use. The one place where the count is set, so that whoever owns the
// program's threads can tie it to theirs.
namespace vidmetra {

// 0 lets the decoder choose (one thread per core).
int DecoderThreadCount();
void SetDecoderThreadCount(int count);

}  // namespace vidmetra
