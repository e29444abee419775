#pragma once
// One picture as seven float planes. Plug-ins see this object directly: its table of nine accessors, the seven
// plane pointers and the two sizes are laid out as the plug-in header declares them, so nothing may be added
// before those fields and no further virtual function may be declared.
#include <cstdint>

namespace vidmetra {

enum PlaneContent : int32_t { kContentYuv = 0, kContentRgb = 1, kContentL = 2 };

class PlaneFrame final {
 public:
  PlaneFrame(int32_t width, int32_t height);
  ~PlaneFrame();  // deliberately not virtual: a virtual destructor would add two slots to the table
  PlaneFrame(const PlaneFrame&) = delete;
  PlaneFrame& operator=(const PlaneFrame&) = delete;

  virtual float* R() { return r_; }
  virtual float* G() { return g_; }
  virtual float* B() { return b_; }
  virtual float* Y() { return y_; }
  virtual float* U() { return u_; }
  virtual float* V() { return v_; }
  virtual float* L() { return l_; }
  virtual int32_t Width() { return width_; }
  virtual int32_t Height() { return height_; }

  // The plane of a colour component (Y, U, V, L, R, G, B for 0..6); null for any other code.
  float* ComponentPlane(int component);
  const float* ComponentPlane(int component) const { return const_cast<PlaneFrame*>(this)->ComponentPlane(component); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool valid() const { return l_ != nullptr; }

  int32_t content = kContentYuv;
  int32_t matrix = 0;

 private:
  float* r_ = nullptr;
  float* g_ = nullptr;
  float* b_ = nullptr;
  float* y_ = nullptr;
  float* u_ = nullptr;
  float* v_ = nullptr;
  float* l_ = nullptr;
  int32_t width_;
  int32_t height_;
};

}  // namespace vidmetra
