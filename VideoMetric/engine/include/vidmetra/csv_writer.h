#pragma once
// Writes a run's values as one CSV file: a column per result series, three header rows, the averages and a row
// per frame.
#include <string>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/result_store.h"

namespace vidmetra {

class CsvWriter {
 public:
  CsvWriter(const CsvOutputSettings& settings, const MetricCatalogue& catalogue)
      : settings_(settings), catalogue_(catalogue) {}

  // False only when the file cannot be written.
  bool Write(const ResultStore& store);
  const std::string& path() const { return path_; }

  // The file name this writer chooses for a store.
  std::string FileName(const ResultStore& store) const;
  // The file's bytes for a store.
  std::string Contents(const ResultStore& store) const;

 private:
  CsvOutputSettings settings_;
  const MetricCatalogue& catalogue_;
  std::string path_;
};

}  // namespace vidmetra
