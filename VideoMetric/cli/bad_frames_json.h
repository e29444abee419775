#pragma once
// The chosen bad frames of a run, as a member of the JSON document.
#include <string>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/measurement_worker.h"

namespace vidmetra::cli {

// `json`, the run's document, with "bad_frames" added: for each of the original, first and second processed input,
// the frames saved as pictures; null when none were saved.
std::string WithBadFrames(const std::string& json, const RunRecord& record, const MeasurementSettings& settings);

}  // namespace vidmetra::cli
