// Captions: where each line goes and what it says (recorded stamps), and what the real font does to the pixels.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "vidmetra/caption_font.h"
#include "vidmetra/caption_painter.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra {
namespace {

struct Stamped {
  int x, y;
  std::string text;
  bool shadow;
  bool mark;
  bool operator==(const Stamped&) const = default;
};

class RecordingStamp : public TextStamp {
 public:
  mutable std::vector<Stamped> stamps;
  void Stamp(const CaptionCanvas&, int x, int y, const char* text, size_t length, CaptionColour colour) const override {
    stamps.push_back({x, y, std::string(text, length), colour.r == kCaptionShadow.r, colour.g == kCaptionMark.g});
  }
};

// A bottom-up 24-bit bitmap with its own pixels.
struct Bitmap {
  Bitmap(int w, int h) : width(w), height(h), stride(RowBytes(kRgb24, w)), pixels(static_cast<size_t>(stride * h)) {}
  CaptionCanvas canvas() { return {pixels.data(), width, height, static_cast<ptrdiff_t>(stride)}; }
  int width, height;
  int64_t stride;
  std::vector<uint8_t> pixels;
};

// Within what smoothing leaves of a colour drawn at nine tenths or more of full cover on black.
bool NearlyOnBlack(const uint8_t* pixel, CaptionColour colour) {
  const auto near = [](uint8_t value, uint8_t full) { return value <= full && value * 10 >= full * 9; };
  return near(pixel[0], colour.b) && near(pixel[1], colour.g) && near(pixel[2], colour.r);
}

class CaptionTest : public ::testing::Test {
 protected:
  CaptionTest() {
    store.AddSeries(4, {0, kComponentY, {{"dir/a.avi", 0, 0, 0}, {"dir/b.yuv", 352, 288, 0}}, "", ""});
    store.AddSeries(5, {1, kComponentU, {{"c.yuv", 0, 0, 0}}, "", ""});
  }
  void Draw(Bitmap& bitmap, const FrameResult& result, bool reference) {
    CaptionPainter(stamp, catalogue).Draw(bitmap.canvas(), 7, result, reference, settings, store);
  }
  const MetricCatalogue& catalogue = MetricCatalogue::Instance();
  RecordingStamp stamp;
  CaptionSettings settings;
  ResultStore store;
};

TEST_F(CaptionTest, AnchorsAreClampedToThePicture) {
  EXPECT_EQ(CaptionAnchor(kBottomRight, 100, 60), std::make_pair(0, 0));
  EXPECT_EQ(CaptionAnchor(kTopLeft, 100, 60), std::make_pair(15, 15));
  EXPECT_EQ(CaptionAnchor(kBottomLeft, 352, 288), std::make_pair(15, 208));
  EXPECT_EQ(CaptionAnchor(kTopRight, 352, 288), std::make_pair(202, 15));
  EXPECT_EQ(CaptionAnchor(kBottomRight, 352, 288), std::make_pair(202, 208));
}

TEST_F(CaptionTest, LinesAndTheirPlaces) {
  Bitmap bitmap(100, 60);
  settings.position = kBottomRight;
  settings.print_frame_number = false;
  settings.print_metric_value = false;
  Draw(bitmap, {{4, 31.5f}}, false);
  // Both options off: the product line alone, at the clamped anchor.
  EXPECT_THAT(stamp.stamps, ::testing::ElementsAre(Stamped{0, 0, "Zyr", false, true},
                                                   Stamped{41, 1, "VIDEO QUALITY MEASUREMENT", true, false},
                                                   Stamped{40, 0, "VIDEO QUALITY MEASUREMENT", false, false}));

  stamp.stamps.clear();
  settings.position = kTopLeft;
  settings.print_frame_number = true;
  settings.print_metric_value = true;
  Draw(bitmap, {{4, 31.5f}, {5, 1.0f / 3.0f}}, false);
  // Two pairs: two value lines, both titled from the first pair's series.
  EXPECT_THAT(std::vector<Stamped>(stamp.stamps.begin() + 3, stamp.stamps.end()),
              ::testing::ElementsAre(Stamped{16, 31, "Frame: 7", true, false}, Stamped{15, 30, "Frame: 7", false, false},
                                     Stamped{16, 46, "PSNR YYUV: a, b 31.5", true, false},
                                     Stamped{15, 45, "PSNR YYUV: a, b 31.5", false, false},
                                     Stamped{16, 61, "PSNR YYUV: c 0.333333", true, false},
                                     Stamped{15, 60, "PSNR YYUV: c 0.333333", false, false}));

  stamp.stamps.clear();
  settings.print_frame_number = false;
  Draw(bitmap, {{4, 31.5f}, {5, 2.0f}}, true);
  EXPECT_THAT(std::vector<Stamped>(stamp.stamps.begin() + 3, stamp.stamps.end()),
              ::testing::ElementsAre(Stamped{16, 31, "PSNR YYUV: Original", true, false},
                                     Stamped{15, 30, "PSNR YYUV: Original", false, false}));

  stamp.stamps.clear();
  Draw(bitmap, {}, false);
  EXPECT_EQ(stamp.stamps.size(), 3u) << "an empty result prints no value line";
}

TEST(CaptionFontTest, LinesFitTheirSpacingAndTheProductLineItsBox) {
  const CaptionFont& font = CaptionFont::Shared();
  ASSERT_TRUE(font.usable()) << "no font found through fontconfig: " << FindCaptionFontFile();
  EXPECT_LE(font.LineHeight(), 14);
  EXPECT_GE(font.LineHeight(), 8) << "too small to read";
  EXPECT_LE(40 + font.TextWidth("VIDEO QUALITY MEASUREMENT"), 149);
  EXPECT_LE(font.TextWidth("Zyr"), 38);
  CaptionFont none("");
  EXPECT_FALSE(none.usable());
  Bitmap bitmap(64, 32);
  none.Stamp(bitmap.canvas(), 0, 0, "Zyr", 3, kCaptionMark);
  EXPECT_EQ(std::count(bitmap.pixels.begin(), bitmap.pixels.end(), 0), static_cast<ptrdiff_t>(bitmap.pixels.size()));
}

// On random pictures and in every corner: the mark lies in its box at the anchor, nothing outside the caption
// box changes, and the shadow sits one pixel right and down of the light text.
TEST(CaptionPixelsTest, RenderedCaptionsStayInTheirBoxesWithTheirShadows) {
  const CaptionFont& font = CaptionFont::Shared();
  ASSERT_TRUE(font.usable());
  const MetricCatalogue& catalogue = MetricCatalogue::Instance();
  ResultStore store;
  std::mt19937 random(15);
  for (const int32_t position : {kTopLeft, kBottomLeft, kTopRight, kBottomRight}) {
    Bitmap bitmap(352, 288);
    for (uint8_t& byte : bitmap.pixels) byte = static_cast<uint8_t>(random() % 200);  // never a caption colour
    const std::vector<uint8_t> before = bitmap.pixels;
    CaptionSettings settings;
    settings.position = position;
    settings.print_metric_value = false;
    CaptionPainter(font, catalogue).Draw(bitmap.canvas(), 123, {}, false, settings, store);
    const auto [ax, ay] = CaptionAnchor(position, 352, 288);
    int red = 0;
    for (int y = 0; y < 288; ++y) {
      for (int x = 0; x < 352; ++x) {
        const uint8_t* now = bitmap.canvas().PixelAt(x, y);
        const size_t offset = static_cast<size_t>(now - bitmap.pixels.data());
        const bool changed = !std::equal(now, now + 3, before.begin() + static_cast<ptrdiff_t>(offset));
        const bool inside = x >= ax && x < ax + 150 && y >= ay && y < ay + 2 * 15 + 1;
        if (changed) {
          EXPECT_TRUE(inside) << "pixel " << x << "," << y << " outside the caption changed";
        }
        // Red where the picture had none: the mark, drawn over it.
        if (changed && now[2] >= 200 && now[1] < 60 && now[0] < 60) {
          ++red;
          EXPECT_TRUE(x >= ax && x < ax + 40 && y >= ay && y < ay + 15) << x << "," << y;
        }
      }
    }
    EXPECT_GT(red, 10) << "position " << position;
  }

  // The light text alone on black tells which pixels it covers in full; where it covers nothing one pixel right
  // and down, the caption shows the shadow there.
  Bitmap light(200, 40);
  font.Stamp(light.canvas(), 10, 10, "Frame: 1234567890", 17, kCaptionText);
  Bitmap caption(200, 60);
  CaptionSettings settings;
  settings.print_metric_value = false;
  ResultStore empty;
  CaptionPainter(font, catalogue).Draw(caption.canvas(), 1234567890, {}, false, settings, empty);
  // The painter puts the frame line at (15, 30); the stamp above at (10, 10): compare with that offset.
  int checked = 0;
  for (int y = 0; y + 1 < 40; ++y) {
    for (int x = 0; x + 1 + 5 < 200; ++x) {
      if (!NearlyOnBlack(light.canvas().PixelAt(x, y), kCaptionText)) continue;
      const uint8_t* next = light.canvas().PixelAt(x + 1, y + 1);
      if (next[0] != 0 || next[1] != 0 || next[2] != 0) continue;
      EXPECT_TRUE(NearlyOnBlack(caption.canvas().PixelAt(x + 1 + 5, y + 1 + 20), kCaptionShadow)) << x << "," << y;
      EXPECT_GE(caption.canvas().PixelAt(x + 5, y + 20)[1], 200) << x << "," << y;
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);
}

}  // namespace
}  // namespace vidmetra
