#pragma once
// One picture as seven float planes. Plug-ins are handed this object itself, so it is the plug-in header's
// frame (table of nine accessors, seven planes, two sizes) with the host's own fields after it; it must not
// declare any further virtual function.
#include <cstdint>

#include "vidmetra/colour_component.h"
#include "vidmetra/plugin.h"

namespace vidmetra {

enum PlaneContent : int32_t { kContentYuv = 0, kContentRgb = 1, kContentL = 2 };

class PlaneFrame final : public vmp::PlaneFrame {
 public:
  PlaneFrame(int32_t width, int32_t height);
  ~PlaneFrame();
  PlaneFrame(const PlaneFrame&) = delete;
  PlaneFrame& operator=(const PlaneFrame&) = delete;

  float* R() override { return r_; }
  float* G() override { return g_; }
  float* B() override { return b_; }
  float* Y() override { return y_; }
  float* U() override { return u_; }
  float* V() override { return v_; }
  float* L() override { return l_; }
  int32_t Width() override { return width_; }
  int32_t Height() override { return height_; }

  // The plane of a colour component (Y, U, V, L, R, G, B for 0..6); null for any other code.
  float* ComponentPlane(int component);
  const float* ComponentPlane(int component) const { return const_cast<PlaneFrame*>(this)->ComponentPlane(component); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool valid() const { return l_ != nullptr; }

  // 8-bit samples widen to float exactly, so where a built-in metric reads a component of 8-bit samples the
  // preparation may keep them as bytes and leave the float plane alone: a quarter of the memory traffic.
  // The component's bytes when the last preparation kept them so; null otherwise. Each is its float plus
  // ByteOffset(component).
  const uint8_t* ComponentBytes(int component) const { return component == bytes_component_ ? bytes_ : nullptr; }
  // Width × height bytes for the component's samples, which from now on stand for its float plane.
  uint8_t* KeepBytes(int component);
  // The float planes hold the samples again.
  void DropBytes() { bytes_component_ = -1; }
  // Chroma bytes are stored as read, the floats centred.
  static constexpr float ByteOffset(int component) {
    return component == kComponentU || component == kComponentV ? 128.0f : 0.0f;
  }

  int32_t content = kContentYuv;
  int32_t matrix = 0;

 private:
  void Release();

  uint8_t* bytes_ = nullptr;
  int bytes_component_ = -1;
};

}  // namespace vidmetra
