// The YUV row kernels of every tier against the references: random rows of every width around the vector steps,
// 4:4:4 and 4:2:0 chroma, every derived component under both matrices, with guards after the end.
#include <cstring>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_matrix.h"
#include "vidmetra/yuv_plane_rows.h"

namespace vidmetra {
namespace {

class YuvPlaneRowsCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitYuvPlaneRowKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }

  // Bit for bit, so that a zero's sign counts too.
  static bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
  }
};

TEST_P(YuvPlaneRowsCheck, MatchesReferenceOnRandomRows) {
  const YuvPlaneRowKernels& kernels = ActiveYuvPlaneRowKernels();
  std::vector<int> widths;
  for (int width = 0; width < 70; ++width) widths.push_back(width);
  for (int n = 0; n < 10; ++n) widths.push_back(static_cast<int>(random_() % 2000));
  for (const int width : widths) {
    for (const bool halved : {false, true}) {
      const size_t chroma_count = halved ? static_cast<size_t>(width + 1) / 2 : static_cast<size_t>(width);
      const std::vector<uint8_t> y = RandomBytes(static_cast<size_t>(width)), u = RandomBytes(chroma_count),
                                 v = RandomBytes(chroma_count);
      const YuvSourceRow row{y.data(), u.data(), v.data(), width, halved};
      const auto guarded = [&] { return std::vector<float>(static_cast<size_t>(width) + 1, -7.0f); };
      std::vector<float> reference = guarded(), vector = guarded();
      ChromaRowScalar(u.data(), width, halved, reference.data());
      kernels.chroma(u.data(), width, halved, vector.data());
      ASSERT_TRUE(SameBits(vector, reference)) << width << " " << halved;
      // The raw bytes: the reference's centred chroma plus 128, one per pixel, nothing written past the row.
      std::vector<uint8_t> bytes(static_cast<size_t>(width) + 1, 7), scalar_bytes = bytes;
      kernels.chroma_bytes(u.data(), width, halved, bytes.data());
      ChromaBytesRowScalar(u.data(), width, halved, scalar_bytes.data());
      ASSERT_EQ(bytes, scalar_bytes) << width << " " << halved;
      for (int x = 0; x < width; ++x) ASSERT_EQ(static_cast<float>(bytes[static_cast<size_t>(x)]) - 128.0f, reference[static_cast<size_t>(x)]);
      for (const int component : {kComponentR, kComponentG, kComponentB}) {
        for (const int matrix : {kRec601, kPc601}) {
          reference = guarded();
          vector = guarded();
          RgbRowScalar(row, component, matrix, reference.data());
          kernels.rgb(row, component, matrix, vector.data());
          ASSERT_TRUE(SameBits(vector, reference)) << width << " " << halved << " " << component << " " << matrix;
        }
      }
    }
  }
}

VIDMETRA_TIER_CHECK(YuvPlaneRowsCheck);

}  // namespace
}  // namespace vidmetra
