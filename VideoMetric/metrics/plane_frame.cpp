#include "vidmetra/plane_frame.h"

#include <cstdlib>
#include <initializer_list>

namespace vidmetra {
namespace {

// calloc hands out zeroed pages that become resident only when written, so planes a measurement never fills
// cost no memory; its blocks are aligned for any vector load.
float* AllocatePlane(size_t samples) { return static_cast<float*>(std::calloc(samples == 0 ? 1 : samples, sizeof(float))); }
}  // namespace

PlaneFrame::PlaneFrame(int32_t width, int32_t height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  const size_t samples = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  r_ = g_ = b_ = y_ = u_ = v_ = l_ = nullptr;
  float** planes[] = {&r_, &g_, &b_, &y_, &u_, &v_, &l_};
  for (float** plane : planes) {
    *plane = AllocatePlane(samples);
    if (*plane == nullptr) {
      for (float** allocated : planes) {
        std::free(*allocated);
        *allocated = nullptr;
      }
      width_ = height_ = 0;
      return;
    }
  }
}

PlaneFrame::~PlaneFrame() {
  for (float* plane : {r_, g_, b_, y_, u_, v_, l_}) std::free(plane);
}

float* PlaneFrame::ComponentPlane(int component) {
  switch (component) {
    case 0: return y_;
    case 1: return u_;
    case 2: return v_;
    case 3: return l_;
    case 4: return r_;
    case 5: return g_;
    case 6: return b_;
    default: return nullptr;
  }
}

}  // namespace vidmetra
