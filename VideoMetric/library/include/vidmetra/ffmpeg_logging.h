#pragma once

namespace vidmetra {

// FFmpeg's libraries report damaged input on the process's standard error; the readers report it as their own
// status instead. Safe to call from any thread, any number of times.
void QuietFfmpegLogging();

}  // namespace vidmetra
