#include "vidmetra/plane_frame.h"

#include <initializer_list>

#include "vidmetra/zeroed_memory.h"

namespace vidmetra {
namespace {

// Planes a measurement never fills cost no memory: their pages become resident only when written.
size_t PlaneBytes(int32_t width, int32_t height) {
  return static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(float);
}
float* AllocatePlane(size_t bytes) { return static_cast<float*>(AllocateZeroed(bytes)); }

}  // namespace

PlaneFrame::PlaneFrame(int32_t width, int32_t height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  const size_t bytes = PlaneBytes(width_, height_);
  r_ = g_ = b_ = y_ = u_ = v_ = l_ = nullptr;
  float** planes[] = {&r_, &g_, &b_, &y_, &u_, &v_, &l_};
  for (float** plane : planes) {
    *plane = AllocatePlane(bytes);
    if (*plane == nullptr) {
      for (float** allocated : planes) {
        FreeZeroed(*allocated, bytes);
        *allocated = nullptr;
      }
      width_ = height_ = 0;
      return;
    }
  }
}

PlaneFrame::~PlaneFrame() {
  const size_t bytes = PlaneBytes(width_, height_);
  for (float* plane : {r_, g_, b_, y_, u_, v_, l_}) FreeZeroed(plane, bytes);
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
