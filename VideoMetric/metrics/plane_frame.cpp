#include "vidmetra/plane_frame.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace vidmetra {
namespace {

float* AllocatePlane(size_t samples) {
  constexpr size_t kAlignment = 64;
  const size_t bytes = (samples * sizeof(float) + kAlignment - 1) / kAlignment * kAlignment;
  auto* plane = static_cast<float*>(std::aligned_alloc(kAlignment, bytes == 0 ? kAlignment : bytes));
  if (plane != nullptr) std::memset(plane, 0, bytes == 0 ? kAlignment : bytes);
  return plane;
}

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
