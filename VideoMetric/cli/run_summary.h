#pragma once
// What a finished run reports on standard output: the averages of every series, as text or as JSON.
#include <string>

#include <vector>

#include "recording_opener.h"
#include "vidmetra/measurement_worker.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra::cli {

std::string TextSummary(const RunRecord& record, const MetricCatalogue& catalogue);
// `inputs` are the files as they were opened: each with its reader's description and decoder.
std::string JsonSummary(const RunRecord& record, const MetricCatalogue& catalogue,
                        const std::vector<OpenedInput>& inputs);
// 0 when every step succeeded, 1 when something failed or the run was stopped, 2 when nothing was measured.
// A stopped run of single-input files keeps its measurement status, so `stopped` says so separately; a CSV file
// that was asked for (`csv_wanted`) but not written counts as a failure, and so does a log file that was asked for
// but did not take every line.
int ExitCode(const RunRecord& record, bool stopped, bool csv_wanted);

}  // namespace vidmetra::cli
