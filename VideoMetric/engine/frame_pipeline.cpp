#include "vidmetra/frame_pipeline.h"

#include <utility>

namespace vidmetra {

FramePipeline::FramePipeline(const MakeSets& make_sets, FramePreparer& preparer, std::vector<InputFrames> inputs,
                             int32_t colour_matrix, TaskPool* pool, bool ahead, ReadFrame read)
    : preparer_(preparer),
      inputs_(std::move(inputs)),
      colour_matrix_(colour_matrix),
      pool_(pool),
      read_(std::move(read)),
      current_(std::make_unique<PlaneSets>(make_sets())),
      outcomes_(inputs_.size()) {
  // The second set of planes only pays where another thread fills it while the metrics measure.
  if (ahead && pool_ != nullptr && pool_->Threads() > 1) ahead_ = std::make_unique<PlaneSets>(make_sets());
}

void FramePipeline::RunPart(int input) {
  const size_t i = static_cast<size_t>(input);
  Outcome& outcome = outcomes_[i];
  outcome = {};
  // Caught here, so that the metrics' frame still counts and the failure comes out after it.
  try {
    outcome.read_status = read_(i, loading_frame_);
    if (outcome.read_status == 0) outcome.prepared = loading_->PrepareInput(preparer_, inputs_[i], i, colour_matrix_);
  } catch (...) {
    outcome.failure = std::current_exception();
  }
}

// The first input that failed decides how.
FrameLoad FramePipeline::Summary() const {
  for (const Outcome& outcome : outcomes_) {
    if (outcome.failure) return {true, true, outcome.failure};
    if (outcome.read_status != 0) return {false, true, nullptr};
    if (!outcome.prepared) return {true, false, nullptr};
  }
  return {};
}

FrameLoad FramePipeline::Load(int32_t n) {
  loading_ = current_.get();
  loading_frame_ = n;
  const int parts = static_cast<int>(inputs_.size());
  if (pool_ == nullptr) {
    for (int part = 0; part < parts; ++part) RunPart(part);
  } else {
    pool_->Submit(*this, parts);
    pool_->Finish(*this);
  }
  return Summary();
}

FrameLoad FramePipeline::MeasureWhileLoading(const std::function<void(const PlaneSets&)>& measure,
                                             std::optional<int32_t> next) {
  if (!next || !ahead_) {
    measure(*current_);
    return next ? Load(*next) : FrameLoad{};
  }
  loading_ = ahead_.get();
  loading_frame_ = *next;
  pool_->Submit(*this, static_cast<int>(inputs_.size()));
  try {
    measure(*current_);
  } catch (...) {
    pool_->Finish(*this);  // the parts throw nothing: they keep what they caught
    throw;
  }
  pool_->Finish(*this);
  std::swap(current_, ahead_);
  return Summary();
}

}  // namespace vidmetra
