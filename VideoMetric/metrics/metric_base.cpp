#include "vidmetra/metric_base.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "vidmetra/bytes_to_floats.h"

namespace vidmetra {

void MetricBase::FreeDeleter::operator()(float* map) const { std::free(map); }

MetricBase::MetricBase(const MetricParams& params, const MetricDescriptor& descriptor)
    : descriptor_(descriptor),
      result_id_(TakeResultId()),
      params_(params),
      difference_map_(static_cast<float*>(std::calloc(
          std::max<size_t>(1, static_cast<size_t>(std::max(params.width, 0)) * static_cast<size_t>(std::max(params.height, 0))),
          sizeof(float)))) {}

const float* MetricBase::FloatPlane(FrameList frames, size_t index) {
  const uint8_t* bytes = frames[index]->ComponentBytes(params_.component);
  if (bytes == nullptr) return Plane(frames, index);
  std::unique_ptr<float, FreeDeleter>& widened = widened_[index];
  if (!widened) widened.reset(static_cast<float*>(std::malloc(std::max<size_t>(1, SampleCount()) * sizeof(float))));
  if (!widened) throw std::bad_alloc();
  float* plane = widened.get();
  BytesToFloats(bytes, plane, SampleCount());
  const float offset = PlaneFrame::ByteOffset(params_.component);
  if (offset != 0.0f) std::for_each(plane, plane + SampleCount(), [offset](float& sample) { sample -= offset; });
  return plane;
}

ResultDescriptors MetricBase::DescribeResults(bool) { return {{result_id_, {0, 1}, ""}}; }

FrameResult MetricBase::GetAverageResult(bool) {
  // No frames gives 0 / 0: a NaN average, which the outputs show as such.
  return {{result_id_, static_cast<float>(sum_ / count_)}};
}

int32_t MetricBase::GetInputCount(bool with_visualization) {
  return with_visualization ? descriptor_.inputs_visualized : descriptor_.inputs_plain;
}

std::vector<int32_t> MetricBase::GetSupportedComponents() {
  return {descriptor_.components.begin(), descriptor_.components.end()};
}

void MetricBase::AccumulateFrameValues(std::vector<float> values, bool) {
  if (values.empty()) return;
  sum_ += values[0];
  count_ += 1;
}

std::vector<int32_t> MetricBase::GetResultIds() { return {result_id_}; }

FrameResult MetricBase::CompleteFrame(std::vector<float> values, VideoFrame* target) {
  const std::vector<float> reported = values;
  return CompleteFrame(reported, std::move(values), target);
}

FrameResult MetricBase::CompleteFrame(const std::vector<float>& reported, std::vector<float> accumulated,
                                      VideoFrame* target) {
  if (!reported.empty()) frame_value_ = reported[0];
  const std::vector<int32_t> ids = GetResultIds();
  FrameResult result;
  result.reserve(ids.size());
  for (size_t i = 0; i < ids.size() && i < reported.size(); ++i) result.push_back({ids[i], reported[i]});
  AccumulateFrameValues(std::move(accumulated), target != nullptr);
  if (target != nullptr) RenderVisualization(*target);
  return result;
}

}  // namespace vidmetra
