#pragma once
#include <vector>

#include "vidmetra/blocking_lanes.h"
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
                                                .height_multiple = 8,
                                                .reads_bytes = true};

  explicit BlockingMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  ResultDescriptors DescribeResults(bool) override { return {{result_id_, {0}, ""}}; }
  void RenderVisualization(VideoFrame& target) override;

  // One evaluation across a boundary on 2 or 3 parallel lines. `first` is sample s(0) of the first line,
  // `along` the step to the next line and `across` the step from s(0) to s(1). −1 marks a real edge.
  double EvaluatePosition(const float* first, ptrdiff_t along, ptrdiff_t across, int lines, bool limited) const;

 private:
  // Room for the terms of the lines of one boundary (blocking_lanes.h), one per thread.
  struct LineTerms {
    std::vector<int32_t> integers;
    std::vector<float> floats;
  };
  // The plane holds floats or bytes.
  template <typename Sample>
  float FrameValue(const Sample* plane, float* map);
  static BoundaryLines LinesOf(LineTerms& scratch);
  // The values of every vertical boundary on the rows of bands [first_band, last_band) of eight rows.
  template <typename Sample>
  void EvaluateVerticalBands(const Sample* copy, int first_band, int last_band, LineTerms& scratch);
  template <typename Sample>
  void EvaluateHorizontal(const Sample* copy, int j, LineTerms& scratch);
  // The pool of one boundary's values, marking the map (when there is one) along it from the plane position
  // `start` on.
  BoundaryPool PoolBoundary(const int32_t* values, ptrdiff_t start, ptrdiff_t along, ptrdiff_t across, int length,
                            float* map) const;
  // work(first, last, scratch) on parts of [0, count), one per thread, each with its own line terms.
  template <typename Work>
  void SpreadOverThreads(int count, Work work);
  // Where the values of vertical boundary j and of horizontal boundary j start in values_.
  size_t VerticalValues(int j) const;
  size_t HorizontalValues(int j) const;

  int32_t edge_threshold_ = 40;
  int32_t step_limit_ = 50;
  // Every evaluation of a frame in pooling order (vertical boundaries first, each along its length), with the
  // pools per boundary; allocated once.
  std::vector<int32_t> values_;
  std::vector<BoundaryPool> pools_;
  std::vector<LineTerms> line_terms_;
};

}  // namespace vidmetra
