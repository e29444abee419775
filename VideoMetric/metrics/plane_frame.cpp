#include "vidmetra/plane_frame.h"

#include <initializer_list>

#include "vidmetra/zeroed_memory.h"

namespace vidmetra {
namespace {

size_t SampleCount(int32_t width, int32_t height) { return static_cast<size_t>(width) * static_cast<size_t>(height); }
size_t PlaneBytes(int32_t width, int32_t height) { return SampleCount(width, height) * sizeof(float); }

}  // namespace

// Planes a measurement never fills cost no memory: their pages become resident only when written.
PlaneFrame::PlaneFrame(int32_t width, int32_t height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  r_ = g_ = b_ = y_ = u_ = v_ = l_ = nullptr;
  float** planes[] = {&r_, &g_, &b_, &y_, &u_, &v_, &l_};
  bool allocated = true;
  for (float** plane : planes) {
    *plane = static_cast<float*>(AllocateZeroed(PlaneBytes(width_, height_)));
    allocated = allocated && *plane != nullptr;
  }
  bytes_ = static_cast<uint8_t*>(AllocateZeroed(SampleCount(width_, height_)));
  if (allocated && bytes_ != nullptr) return;
  Release();
  width_ = height_ = 0;
}

PlaneFrame::~PlaneFrame() { Release(); }

void PlaneFrame::Release() {
  for (float** plane : {&r_, &g_, &b_, &y_, &u_, &v_, &l_}) {
    FreeZeroed(*plane, PlaneBytes(width_, height_));
    *plane = nullptr;
  }
  FreeZeroed(bytes_, SampleCount(width_, height_));
  bytes_ = nullptr;
}

uint8_t* PlaneFrame::KeepBytes(int component) {
  bytes_component_ = component;
  return bytes_;
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
