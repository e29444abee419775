#pragma once
// What a finished run reports on standard output: the averages of every series, as text or as JSON.
#include <string>

#include "vidmetra/measurement_worker.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra::cli {

std::string TextSummary(const RunRecord& record, const MetricCatalogue& catalogue);
std::string JsonSummary(const RunRecord& record, const MetricCatalogue& catalogue);
// 0 when every step succeeded, 1 when something failed or the run was stopped, 2 when nothing was measured.
// A stopped run of single-input files keeps its measurement status, so `stopped` says so separately.
int ExitCode(const RunRecord& record, bool stopped);

}  // namespace vidmetra::cli
