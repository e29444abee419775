#pragma once
// The frames of one pass, read and prepared one frame ahead: while the metrics measure frame n, the pool reads
// and prepares frame n + 1 of every input into a second PlaneSets, each input as a part of its own. So reading,
// preparation and measuring keep every thread busy instead of taking turns. Without a pool to work beside the
// metrics there is one PlaneSets, and each frame is loaded after the previous one was measured.
//
// What each metric is handed, and the order in which it is handed its frames, is the same either way.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "vidmetra/plane_sets.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {

// How loading one frame of every input went.
struct FrameLoad {
  bool read = true;      // every input's frame was read
  bool prepared = true;  // and every read frame was converted
  std::exception_ptr failure;  // what a reader or the preparation threw, if anything
};

class FramePipeline : private TaskPool::Job {
 public:
  // Reads frame `n` of the `input`-th input into that input's decoded frame; anything but 0 is a failed read.
  using ReadFrame = std::function<int(size_t input, int32_t n)>;
  using MakeSets = std::function<PlaneSets()>;

  // `inputs` are the frames `read` fills, in the order `read` numbers them; they outlive the pipeline. Frames are
  // loaded ahead only when `ahead` allows it and the pool has a thread besides the caller's.
  FramePipeline(const MakeSets& make_sets, FramePreparer& preparer, std::vector<InputFrames> inputs,
                int32_t colour_matrix, TaskPool* pool, bool ahead, ReadFrame read);
  FramePipeline(const FramePipeline&) = delete;
  FramePipeline& operator=(const FramePipeline&) = delete;

  // Loads frame `n` as the one to measure next, on the calling thread and the pool.
  FrameLoad Load(int32_t n);
  // Calls `measure` with the planes of the frame loaded last and, beside it, loads frame `next` (if any), which
  // is measured next. An exception of `measure` comes out once the load is over; one of the load is in the result.
  FrameLoad MeasureWhileLoading(const std::function<void(const PlaneSets&)>& measure, std::optional<int32_t> next);

 private:
  // Per input.
  struct Outcome {
    int read_status = 0;
    bool prepared = true;
    std::exception_ptr failure;
  };
  void RunPart(int input) override;
  FrameLoad Summary() const;

  FramePreparer& preparer_;
  const std::vector<InputFrames> inputs_;
  const int32_t colour_matrix_;
  TaskPool* const pool_;
  const ReadFrame read_;
  std::unique_ptr<PlaneSets> current_;
  std::unique_ptr<PlaneSets> ahead_;  // none when frames are loaded in turn
  const PlaneSets* loading_ = nullptr;
  int32_t loading_frame_ = 0;
  std::vector<Outcome> outcomes_;
};

}  // namespace vidmetra
