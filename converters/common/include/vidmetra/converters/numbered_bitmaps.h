#pragma once
#include <functional>
#include <string>

#include "vidmetra/converters/dib_image.h"
#include "vidmetra/converters/field_values.h"
#include "vidmetra/converters/run_progress.h"

namespace vidmetra::converters {

enum class MissingBitmap { kEndsTheRun, kIsSkipped };

// What a tool does with one numbered bitmap: `name` is the file's name without folder and ".bmp". Returns an
// empty text to go on, or the run's message.
using BitmapStep = std::function<std::string(const std::string& name, const DibImage& image)>;

// Loads the "dir" field + name + ".bmp" for each number of `range` in turn, into one image reused for all, and
// hands it to `step`. A missing file ends the run or is skipped, as `missing` says; a file that is no readable
// bitmap ends it with its message, and so does the first message `step` returns. Empty when the range was done.
std::string ForEachNumberedBitmap(const FieldValues& values, FrameRange range, MissingBitmap missing,
                                  RunProgress& progress, const BitmapStep& step);

}  // namespace vidmetra::converters
