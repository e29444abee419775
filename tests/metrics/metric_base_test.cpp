#include "vidmetra/metric_base.h"

#include <gtest/gtest.h>

#include <cmath>

#include "vidmetra/colour_component.h"
#include "vidmetra/map_renderer.h"

namespace vidmetra {
namespace {

constexpr MetricDescriptor kProbe{"probe", "Probe", "", kLumaComponent, 2, 2, true};

class ProbeMetric : public MetricBase {
 public:
  explicit ProbeMetric(const MetricParams& params) : MetricBase(params, kProbe) {}
  FrameResult Measure(FrameList frames) override {
    return CompleteFrame({frames[0]->ComponentPlane(params_.component)[0]}, nullptr);
  }
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override {
    difference_map()[0] = frames[0]->ComponentPlane(params_.component)[0];
    return CompleteFrame({difference_map()[0]}, &target);
  }
  void RenderVisualization(VideoFrame& target) override { RenderGreyMap(difference_map(), target); }
  int32_t id() const { return result_id_; }
};

TEST(MetricBase, ConsecutiveObjectsTakeConsecutiveIds) {
  ProbeMetric first({0, 4, 4});
  ProbeMetric second({0, 4, 4});
  EXPECT_EQ(second.id(), first.id() + 1);
  EXPECT_EQ(ResultIdCounter(), second.id() + 1);
  EXPECT_EQ(first.DescribeResults(false), (ResultDescriptors{{first.id(), {0, 1}, ""}}));
  EXPECT_EQ(first.GetResultIds(), std::vector<int32_t>{first.id()});
}

TEST(MetricBase, DefaultsOfTheBase) {
  ProbeMetric metric({0, 4, 4});
  EXPECT_EQ(metric.GetWidthMultiple(), 2);
  EXPECT_EQ(metric.GetHeightMultiple(), 2);
  EXPECT_EQ(metric.GetUnits(), "");
  EXPECT_FALSE(metric.IsConfigurable());
  EXPECT_EQ(metric.GetConfiguration(), "");
  EXPECT_FALSE(metric.SetConfiguration("anything"));
}

TEST(MetricBase, AverageIsTheDoubleMeanRoundedToFloat) {
  ProbeMetric metric({0, 2, 2});
  const FrameResult none = metric.GetAverageResult(false);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_TRUE(std::isnan(none[0].value));
  PlaneFrame frame(2, 2);
  PlaneFrame* frames[] = {&frame};
  for (const float value : {1.0f, 2.0f, 4.0f}) {
    frame.Y()[0] = value;
    const FrameResult result = metric.Measure(frames);
    EXPECT_EQ(result, (FrameResult{{metric.id(), value}}));
  }
  EXPECT_EQ(metric.GetAverageResult(false)[0].value, static_cast<float>(7.0 / 3.0));
}

TEST(GreyRenderer, TruncatesAndKeepsTheLowByte) {
  EXPECT_EQ(GreyLevel(300.7f), 44);
  EXPECT_EQ(GreyLevel(-1.5f), 255);
  EXPECT_EQ(GreyLevel(255.99f), 255);
  EXPECT_EQ(GreyLevel(NAN), 0);
  EXPECT_EQ(GreyLevel(1e30f), 0);
}

TEST(GreyRenderer, WalksStoredRowsAndSkipsPadding) {
  VideoFrame target;
  ASSERT_TRUE(target.SetFormat(3, 2, kRgb24, 0));
  const float map[] = {1, 2, 3, 4, 5, 300.7f};
  RenderGreyMap(map, target);
  const PlaneLayout plane = target.Plane(0);
  EXPECT_EQ(plane.origin[0], 1);
  EXPECT_EQ(plane.origin[5], 2);
  EXPECT_EQ(plane.origin[plane.stride + 6], 44);
  EXPECT_EQ(plane.origin[9], 0);  // beyond the picture: untouched
}

TEST(PlaneFrame, ComponentsSelectTheirPlanes) {
  PlaneFrame frame(4, 2);
  EXPECT_EQ(frame.ComponentPlane(kComponentY), frame.Y());
  EXPECT_EQ(frame.ComponentPlane(kComponentU), frame.U());
  EXPECT_EQ(frame.ComponentPlane(kComponentV), frame.V());
  EXPECT_EQ(frame.ComponentPlane(kComponentL), frame.L());
  EXPECT_EQ(frame.ComponentPlane(kComponentR), frame.R());
  EXPECT_EQ(frame.ComponentPlane(kComponentG), frame.G());
  EXPECT_EQ(frame.ComponentPlane(kComponentB), frame.B());
  EXPECT_EQ(frame.ComponentPlane(7), nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(frame.L()[i], 0.0f);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(frame.Y()) % 16, 0u);
}

TEST(ColourComponent, NamesAndClasses) {
  const char* names[] = {"YYUV", "UYUV", "VYUV", "LLUV", "RRGB", "GRGB", "BRGB"};
  for (int c = 0; c < 7; ++c) EXPECT_STREQ(ColourComponentName(c), names[c]);
  EXPECT_STREQ(ColourComponentName(7), "");
  EXPECT_TRUE(IsYuvComponent(2));
  EXPECT_TRUE(IsLuvComponent(3));
  EXPECT_TRUE(IsRgbComponent(4));
  EXPECT_FALSE(IsRgbComponent(3));
}

}  // namespace
}  // namespace vidmetra
