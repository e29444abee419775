// The visualization file: its name, its pictures as our own reader reads them back, and a font that is missing.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "vidmetra/avi_reader.h"
#include "vidmetra/bmp_reader.h"
#include "vidmetra/caption_font.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/visualization_file.h"

namespace vidmetra {
namespace {

class VisualizationFileTest : public ::testing::Test {
 protected:
  VisualizationFileTest() {
    store.AddSeries(1, {0, kComponentY, {{"in/a.avi", 0, 0, 0}, {"b.yuv", 16, 16, 5}}, "", ""});
    store.AddSeries(2, {0, kComponentY, {{"in/CLIP.BMP", 0, 0, 0}}, "", ""});
    settings.output_folder = dir.path().string();
  }
  const MetricCatalogue& catalogue = MetricCatalogue::Instance();
  testing::TempDir dir;
  ResultStore store;
  VisualizationSettings settings;
};

TEST_F(VisualizationFileTest, NamesFollowTheSeriesAndTheNameGeneration) {
  EXPECT_EQ(VisualizationPath(settings, {1}, store, catalogue), dir.File("psnr_yyuv_a_b.avi"));
  EXPECT_EQ(VisualizationPath(settings, {2}, store, catalogue), dir.File("psnr_yyuv_CLIP.bmp"));
  settings.name_generation = kNamePostfix;
  EXPECT_EQ(VisualizationPath(settings, {1}, store, catalogue), dir.File("a_b_psnr_yyuv.avi"));
  settings.name_generation = kNameCustom;
  settings.custom_name = "my visualization";
  EXPECT_EQ(VisualizationPath(settings, {1}, store, catalogue), dir.File("my visualization"));
  settings.output_folder.clear();
  EXPECT_EQ(VisualizationPath(settings, {2}, store, catalogue), "my visualization");
}

// Writes `frames` pictures of one grey level each through a file captioned by `stamp`.
void WritePictures(VisualizationFile& file, int width, int height, int frames, const ResultStore& store) {
  VideoFrame image;
  ASSERT_TRUE(image.SetFormat(width, height, kRgb24, 0));
  for (int n = 0; n < frames; ++n) {
    const PlaneLayout plane = image.Plane(0);
    for (int y = 0; y < height; ++y) std::fill_n(plane.origin + y * plane.stride, 3 * width, static_cast<uint8_t>(10 * n + y));
    file.WriteFrame(image, n, {{1, 30.0f}}, store);
  }
}

TEST_F(VisualizationFileTest, PicturesArriveFlippedAndCaptionedOrPlainWithoutAFont) {
  settings.width = 200;
  settings.height = 100;
  settings.caption.print_frame_number = true;
  settings.caption.print_metric_value = false;
  const CaptionFont none("");
  for (const TextStamp* stamp : {static_cast<const TextStamp*>(&CaptionFont::Shared()), static_cast<const TextStamp*>(&none)}) {
    VisualizationFile file(settings, {1}, store, catalogue, *stamp);
    ASSERT_TRUE(file.Open());
    WritePictures(file, 200, 100, 3, store);
    ASSERT_TRUE(file.Close());
    AviReader reader;
    ASSERT_EQ(reader.Open(file.Path(), false, false), 0);
    ASSERT_EQ(reader.FrameCount(), 3);
    VideoFrame frame;
    for (int n = 0; n < 3; ++n) {
      ASSERT_EQ(reader.ReadFrame(frame, n), 0);
      const PlaneLayout plane = frame.Plane(0);
      int captioned = 0;
      for (int y = 0; y < 100; ++y) {
        // Stored rows run bottom up: picture row y is stored row 99 - y.
        const uint8_t* row = plane.origin + (99 - y) * plane.stride;
        for (int x = 0; x < 200; ++x) {
          const bool caption_box = x >= 15 && x < 165 && y >= 15 && y < 46;
          if (row[3 * x] != 10 * n + y) {
            EXPECT_TRUE(caption_box) << x << "," << y;
            ++captioned;
          }
        }
      }
      EXPECT_EQ(captioned > 100, stamp != &none) << "frame " << n;
    }
  }
}

TEST_F(VisualizationFileTest, BitmapInputsGiveABitmap) {
  settings.width = 40;
  settings.height = 20;
  VisualizationFile file(settings, {2}, store, catalogue, CaptionFont::Shared());
  ASSERT_TRUE(file.Open());
  WritePictures(file, 40, 20, 1, store);
  ASSERT_TRUE(file.Close());
  BmpReader reader;
  ASSERT_EQ(reader.Open(file.Path()), 0);
  EXPECT_EQ(reader.Width(), 40);
  EXPECT_EQ(reader.FrameCount(), 1);
}

}  // namespace
}  // namespace vidmetra
