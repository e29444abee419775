#pragma once
// What the results viewer is opened with after a completed run.
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "vidmetra/input_file_entry.h"
#include "vidmetra/result_store.h"

namespace vidmetra::ui {

struct ResultsBundle {
  const ResultStore* store = nullptr;
  int32_t colour_matrix = 0;
  std::map<int32_t, InputFileEntry> inputs;  // 0 original, 1 first processed, 2 second processed
  std::optional<std::vector<int32_t>> bad_frames;  // ascending; none when bad frames were not saved
};

}  // namespace vidmetra::ui
