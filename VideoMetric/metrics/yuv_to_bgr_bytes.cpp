#include "vidmetra/yuv_to_bgr_bytes.h"

#include <cstddef>

#include "vidmetra/colour_formulas.h"
#include "vidmetra/colour_matrix.h"

namespace vidmetra {

bool YuvToBgrBytes(const uint8_t* source, uint8_t* target, int width, int height, int target_stride, int matrix) {
  if (source == nullptr || target == nullptr || width <= 0 || height <= 0 || !IsKnownColourMatrix(matrix)) {
    return true;
  }
  const size_t plane = static_cast<size_t>(width) * static_cast<size_t>(height);
  const uint8_t *y_plane = source, *u_plane = source + plane, *v_plane = source + 2 * plane;
  for (int row = 0; row < height; ++row) {
    uint8_t* pixel = target + static_cast<ptrdiff_t>(row) * target_stride;
    for (int x = 0; x < width; ++x, pixel += 3) {
      const size_t i = static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(x);
      const double y = y_plane[i], u = u_plane[i] - 128, v = v_plane[i] - 128;
      if (matrix == kRec601) {
        const double luma = 1.164 * (y - 16);
        pixel[0] = TruncateToByte(luma + 2.018 * u);
        pixel[1] = TruncateToByte(luma - 0.813 * v - 0.391 * u);
        pixel[2] = TruncateToByte(luma + 1.596 * v);
      } else {
        pixel[0] = TruncateToByte(y + 2.032 * u);
        pixel[1] = TruncateToByte(y - 0.395 * u - 0.581 * v);
        pixel[2] = TruncateToByte(y + 1.14 * v);
      }
    }
  }
  return true;
}

}  // namespace vidmetra
