#pragma once
// vidmetra metric plug-in interface.
//
// A plug-in is a shared module with the ending ".vmp" in the "plugins" folder beside the program. It exports
// CreateMetric and ReleaseMetric (C linkage) and hands the host an object derived from vmp::MetricObject. The
// host calls the object's virtual functions in the order declared below, so that order, the argument types and
// the class layouts here are binding: never reorder, add or remove a virtual function, and never give these
// classes a virtual destructor (it would take table slots). See docs/plugins.md.
#include <cstdint>

namespace vmp {

inline constexpr int kTextCapacity = 260;  // UTF-16 characters of every text buffer, terminator included
inline constexpr int kMaxResults = 10;     // entries of the host's id, value and component arrays
inline constexpr int kMaxRoles = 9;        // roles of one result series

// A picture prepared by the host as seven float planes of Width() x Height() samples, row 0 at the top.
// R, G, B and Y hold 0..255, U and V are centred on zero, L holds 0..100.
class PlaneFrame {
 public:
  virtual float* R() = 0;
  virtual float* G() = 0;
  virtual float* B() = 0;
  virtual float* Y() = 0;
  virtual float* U() = 0;
  virtual float* V() = 0;
  virtual float* L() = 0;
  virtual int32_t Width() = 0;
  virtual int32_t Height() = 0;

 protected:
  ~PlaneFrame() = default;
  float* r_;
  float* g_;
  float* b_;
  float* y_;
  float* u_;
  float* v_;
  float* l_;
  int32_t width_;
  int32_t height_;
};

// The input roles of one result series: 0 the original, 1 the processed sequence.
struct RoleList {
  int32_t count;
  int32_t roles[kMaxRoles];
};

// Colour components: 0 Y, 1 U, 2 V, 3 L, 4 R, 5 G, 6 B.
class MetricObject {
 public:
  virtual void Reserved() {}  // never called by the host
  // `counter` is the host's result-id counter: take an id by reading it and incrementing it.
  virtual void Init(int32_t component, int32_t width, int32_t height, int32_t* counter) = 0;
  // frames[0] is the original, frames[1] the processed picture (one picture for single-input metrics).
  virtual void Measure(PlaneFrame** frames, int32_t frame_count, int32_t* ids, float* values, int32_t* count) = 0;
  // As Measure, and draws the visualization into 24-bit pixels (blue, green, red) of the Init size; `pixels` is
  // the first stored row, rows are `stride` bytes apart, stored row k is picture row k.
  virtual void MeasureAndVisualize(PlaneFrame** frames, int32_t frame_count, int32_t* ids, float* values,
                                   int32_t* count, uint8_t* pixels, int32_t stride) = 0;
  virtual void DescribeResults(int32_t* count, int32_t* ids, RoleList** roles, char16_t** names,
                               bool visualization) = 0;
  virtual void GetAverageResult(int32_t* ids, float* values, int32_t* count, bool visualization) = 0;
  virtual int32_t GetInputCount(bool visualization) = 0;
  virtual void GetSupportedComponents(int32_t* list, int32_t* count) = 0;
  virtual void GetName(char16_t* buffer) = 0;
  virtual void GetUnits(char16_t* buffer) = 0;
  virtual int32_t GetWidthMultiple() = 0;
  virtual int32_t GetHeightMultiple() = 0;
  virtual void GetTitle(char16_t* buffer) = 0;
  virtual void GetHelpAddress(char16_t* buffer) = 0;
  virtual bool IsHigherBetter() = 0;
  virtual bool IsConfigurable() = 0;
  virtual bool SetConfiguration(const char16_t* text) = 0;
  // False when `capacity` characters are too few; the host then calls again with twice the capacity.
  virtual bool GetConfiguration(char16_t* buffer, int32_t capacity) = 0;

 protected:
  ~MetricObject() = default;
};

}  // namespace vmp

#if defined(_WIN32)
#define VMP_EXPORT extern "C" __declspec(dllexport)
#else
#define VMP_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Exported by every plug-in. CreateMetric stores a new object (or null on failure); its return value is ignored.
// ReleaseMetric destroys an object that CreateMetric made.
using VmpCreateMetric = int (*)(vmp::MetricObject** object);
using VmpReleaseMetric = void (*)(vmp::MetricObject* object);
