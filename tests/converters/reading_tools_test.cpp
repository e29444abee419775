// planeunpack, packfidelity and bitmapzone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "bitmapzone.h"
#include "converter_fixtures.h"
#include "packfidelity.h"
#include "planeunpack.h"
#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/converters/dib_file.h"

namespace vidmetra::converters {
namespace {

using testing::ReadFileBytes;
using testing::RunTool;
using testing::Slice;
using testing::TempDir;

// The bitmaps planeunpack writes decode in FFmpeg to the pixels the formulas give.
TEST(PlaneUnpack, WritesBitmapsFfmpegDecodesToTheFormulasPixels) {
  TempDir dir;
  const std::string y_dir = dir.path().string() + "/", bmp_dir = y_dir + "out/";
  std::filesystem::create_directory(bmp_dir);
  const PictureSize size{10, 6};
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 1; i <= 2; ++i) {
    const std::vector<uint8_t> frame = testing::PatternBytes(size.SequenceFrameBytes(), static_cast<uint32_t>(i));
    testing::WriteBytes(y_dir + "s" + std::to_string(i) + ".Y", Slice(frame, 0, 60));
    testing::WriteBytes(y_dir + "s" + std::to_string(i) + ".U", Slice(frame, 60, 15));
    testing::WriteBytes(y_dir + "s" + std::to_string(i) + ".V", Slice(frame, 75, 15));
    frames.push_back(frame);
  }
  std::map<std::string, std::string> fields{{"y-dir", y_dir},     {"u-dir", y_dir}, {"v-dir", y_dir},
                                            {"bmp-dir", bmp_dir}, {"name", "s(*)"}, {"from", "1"},
                                            {"to", "2"},          {"width", "10"},  {"height", "6"}};
  EXPECT_EQ(RunTool(PlaneUnpackTool(), fields), "ok!");
  for (int i = 1; i <= 2; ++i) {
    const std::string bitmap = bmp_dir + "s" + std::to_string(i) + ".bmp";
    const std::vector<uint8_t> bytes = ReadFileBytes(bitmap);
    ASSERT_EQ(bytes.size(), 54u + 32u * 6u);
    EXPECT_EQ(LoadLe32(bytes.data() + 2), bytes.size());
    EXPECT_EQ(LoadLe32(bytes.data() + 10), 54u);
    const std::vector<uint8_t> expected = testing::ReferenceRgb(frames[static_cast<size_t>(i - 1)], 10, 6);
    DibImage image;
    ASSERT_EQ(ReadDibFile(bitmap, image), DibLoad::kLoaded);
    EXPECT_EQ(testing::TopDownRgb(image), expected);
    if (!testing::FfmpegAvailable()) continue;
    ASSERT_TRUE(testing::RunFfmpeg("-i " + bitmap + " -f rawvideo -pix_fmt rgb24 " + dir.File("decoded.rgb")));
    EXPECT_EQ(ReadFileBytes(dir.File("decoded.rgb")), expected);
  }
  fields["to"] = "3";
  EXPECT_EQ(RunTool(PlaneUnpackTool(), fields), "unable to open y files3.Y");
}

double IndependentPsnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t offset, size_t count) {
  double sum = 0;
  for (size_t k = offset; k < offset + count; ++k) sum += (a[k] - b[k]) * (a[k] - b[k]);
  return sum == 0 ? 99.99 : 10 * std::log10(255.0 * 255.0 * static_cast<double>(count) / sum);
}

std::string Fixed(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

TEST(PackFidelity, ReportsTheLumaPsnrOfEachFrameAndTheirAverage) {
  TempDir dir;
  const PictureSize size{16, 8};
  const size_t frame = size.SequenceFrameBytes();
  const std::vector<uint8_t> original = testing::PatternBytes(6 * frame, 1);
  std::vector<uint8_t> distorted = original;
  for (size_t k = 0; k < distorted.size(); k += 7) distorted[k] = static_cast<uint8_t>(distorted[k] + (k % 23));
  testing::WriteBytes(dir.File("a.seq"), original);
  testing::WriteBytes(dir.File("b.seq"), distorted);
  std::map<std::string, std::string> fields{{"orig", dir.File("a.seq")},
                                            {"dest", dir.File("b.seq")},
                                            {"from", "2"},
                                            {"to", "9"},
                                            {"width", "16"},
                                            {"height", "8"},
                                            {"result", dir.File("r.txt")}};
  EXPECT_EQ(RunTool(PackFidelityTool(), fields), "ok!");
  std::string expected = "orign seq file:" + dir.File("a.seq") + "\ndest seq file:" + dir.File("b.seq") + "\n";
  double total = 0;
  for (size_t d = 0; d < 4; ++d) {  // frames 2 to 5: the files end there
    const double psnr = IndependentPsnr(original, distorted, (d + 2) * frame, size.Pixels());
    expected += "frame num " + std::to_string(d) + ":" + Fixed(psnr) + "\n";
    total += psnr;
  }
  expected += "average snr of the total 4 frames is:" + Fixed(total / 4) + "\n";
  EXPECT_EQ(testing::ReadText(dir.File("r.txt")), expected);

  fields["dest"] = dir.File("a.seq");
  fields["to"] = "3";
  EXPECT_EQ(RunTool(PackFidelityTool(), fields), "ok!");
  EXPECT_EQ(testing::ReadText(dir.File("r.txt")),
            "orign seq file:" + dir.File("a.seq") + "\ndest seq file:" + dir.File("a.seq") +
                "\nframe num 0:99.990000\nframe num 1:99.990000\naverage snr of the total 2 frames is:99.990000\n");
  fields["dest"] = dir.File("absent.seq");
  EXPECT_EQ(RunTool(PackFidelityTool(), fields), "open dest seq file error!");
}

TEST(BitmapZone, CutsTheTopDisplayRowsIntoBitmapsNamedWithTheSuffix) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/", out = folder + "bands/";
  std::filesystem::create_directory(out);
  std::vector<DibImage> images;
  for (int i = 0; i < 2; ++i) {
    images.push_back(testing::RandomBgrBitmap(100, 50, static_cast<uint32_t>(i + 3)));
    testing::WriteBitmap(folder + "z" + std::to_string(i) + ".bmp", images.back());
  }
  std::map<std::string, std::string> fields{{"dir", folder},  {"name", "z(*)"}, {"all", "1"},
                                            {"width", "100"}, {"height", "50"}, {"out-dir", out},
                                            {"begin", "0"},   {"end", "9"},     {"suffix", "_left"}};
  EXPECT_EQ(RunTool(BitmapZoneTool(), fields), "ok!");
  for (int i = 0; i < 2; ++i) {
    DibImage band;
    ASSERT_EQ(ReadDibFile(out + "z" + std::to_string(i) + "_left.bmp", band), DibLoad::kLoaded);
    EXPECT_EQ(band.info.width, 100);
    EXPECT_EQ(band.info.height, 10);
    const std::vector<uint8_t> top = testing::TopDownRgb(images[static_cast<size_t>(i)]);
    EXPECT_EQ(testing::TopDownRgb(band), Slice(top, 0, 100 * 3 * 10));
  }
  EXPECT_FALSE(std::filesystem::exists(out + "z2_left.bmp"));
  fields["end"] = "50";
  EXPECT_EQ(RunTool(BitmapZoneTool(), fields),
            "wrong line range: begin line must not follow end line, and both must lie within the picture.");
}

}  // namespace
}  // namespace vidmetra::converters
