#pragma once
#include "vidmetra/metric_base.h"

namespace vidmetra {

// How visible the 8 × 8 block grid is in one picture: steps across interior block boundaries that stand out
// from the gradients inside the blocks, discounted by texture, with steps too large for coding artefacts ignored.
class BlockingMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "blocking_measure",
                                                .title = "Zyr Blocking (MPEG-4) BETA",
                                                .components = kLumaComponent,
                                                .inputs_plain = 1,
                                                .inputs_visualized = 1,
                                                .higher_is_better = false,
                                                .width_multiple = 8,
                                                .height_multiple = 8};

  explicit BlockingMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  ResultDescriptors DescribeResults(bool) override { return {{result_id_, {0}, ""}}; }
  void RenderVisualization(VideoFrame& target) override;

  // One evaluation across a boundary on 2 or 3 parallel lines. `first` is sample s(0) of the first line,
  // `along` the step to the next line and `across` the step from s(0) to s(1). −1 marks a real edge.
  double EvaluatePosition(const float* first, ptrdiff_t along, ptrdiff_t across, int lines, bool limited) const;

 private:
  struct Pool {
    float sum = 0.0f;
    int32_t count = 0;
  };
  float FrameValue(const float* plane, float* map) const;
  void VisitBoundary(const float* start, ptrdiff_t along, ptrdiff_t across, int length, bool limit_inner,
                     const float* plane, float* map, Pool& pool) const;

  int32_t edge_threshold_ = 40;
  int32_t step_limit_ = 50;
};

}  // namespace vidmetra
