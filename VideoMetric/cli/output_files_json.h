#pragma once
// The output files of a run and its chosen bad frames, as members of the JSON summary.
#include <string>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/measurement_worker.h"

namespace vidmetra::cli {

// `json`, a summary object, with "files_written" (every file the run wrote) and "bad_frames" (for each of the
// original, first and second processed input: the frames saved as pictures; null when none were saved) added.
std::string WithOutputFiles(const std::string& json, const RunRecord& record, const MeasurementSettings& settings);

}  // namespace vidmetra::cli
