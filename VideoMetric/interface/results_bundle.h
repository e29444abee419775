#pragma once
// What the results viewer is opened with after a completed run.
#include <cstdint>
#include <map>

#include "vidmetra/input_file_entry.h"
#include "vidmetra/result_store.h"

namespace vidmetra::ui {

struct ResultsBundle {
  const ResultStore* store = nullptr;
  int32_t colour_matrix = 0;
  std::map<int32_t, InputFileEntry> inputs;  // 0 original, 1 first processed, 2 second processed
};

}  // namespace vidmetra::ui
