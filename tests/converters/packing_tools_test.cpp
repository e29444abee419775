// planepack, triplepack, bitmappack, grouppack and packtrim.
#include <gtest/gtest.h>

#include <filesystem>

#include "bitmapgroup.h"
#include "bitmappack.h"
#include "converter_fixtures.h"
#include "grouppack.h"
#include "packtrim.h"
#include "planepack.h"
#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "triplepack.h"
#include "vidmetra/converters/dib_file.h"

namespace vidmetra::converters {
namespace {

using testing::ReadFileBytes;
using testing::RunTool;
using testing::Slice;
using testing::TempDir;

TEST(PlanePack, JoinsNumberedFramesAndAnEmptyRangeStillSucceeds) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  const std::vector<uint8_t> frames = testing::PatternBytes(3 * 96, 1);  // 8 × 8 frames of 96 bytes
  for (int i = 0; i < 3; ++i)
    testing::WriteBytes(folder + "clip.00" + std::to_string(i + 4), Slice(frames, 96u * i, 96));
  std::map<std::string, std::string> fields{
      {"dir", folder}, {"name", "clip.(*)"}, {"from", "4"},   {"to", "6"},
      {"digits", "3"}, {"width", "8"},       {"height", "8"}, {"seq", dir.File("out.seq")}};
  EXPECT_EQ(RunTool(PlanePackTool(), fields), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("out.seq")), frames);

  fields["from"] = "5";
  fields["to"] = "4";
  EXPECT_EQ(RunTool(PlanePackTool(), fields), "ok!");
  EXPECT_TRUE(ReadFileBytes(dir.File("out.seq")).empty());

  fields["to"] = "9";
  EXPECT_EQ(RunTool(PlanePackTool(), fields), "unable to open yuv fileclip.007");
  fields["width"] = "7";
  EXPECT_EQ(RunTool(PlanePackTool(), fields), "wrong picture size: width and height must be even, from 2 to 32768.");
}

TEST(TriplePack, StopsAtTheFirstMissingPlaneFileAfterWritingTheFramesBeforeIt) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  std::vector<uint8_t> expected;
  for (int i = 0; i < 5; ++i) {
    const std::string stem = folder + "fm" + std::to_string(i);
    for (const auto& [extension, bytes] : {std::pair{".y", 64}, std::pair{".u", 16}, std::pair{".v", 16}}) {
      if (i == 3 && std::string(extension) == ".u") continue;
      const std::vector<uint8_t> plane =
          testing::PatternBytes(static_cast<size_t>(bytes), static_cast<uint32_t>(10 * i + bytes));
      testing::WriteBytes(stem + extension, plane);
      if (i < 3) expected.insert(expected.end(), plane.begin(), plane.end());
    }
  }
  const std::map<std::string, std::string> fields{
      {"dir", folder}, {"name", "fm(*)"},           {"from", "0"}, {"to", "4"}, {"width", "8"},
      {"height", "8"}, {"seq", dir.File("out.seq")}};
  EXPECT_EQ(RunTool(TriplePackTool(), fields), "unable to open u filefm3.u");
  EXPECT_EQ(ReadFileBytes(dir.File("out.seq")), expected);
}

TEST(PackTrim, CopiesTheRangeFromItsFrameOffset) {
  TempDir dir;
  const std::vector<uint8_t> source = testing::PatternBytes(10 * 38016, 2);
  testing::WriteBytes(dir.File("in.seq"), source);
  std::map<std::string, std::string> fields{
      {"seq", dir.File("in.seq")}, {"width", "176"}, {"height", "144"}, {"from", "2"}, {"to", "3"},
      {"out", dir.File("cut.seq")}};
  EXPECT_EQ(RunTool(PackTrimTool(), fields), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("cut.seq")), Slice(source, 76032, 76032));
  fields["from"] = "8";
  fields["to"] = "20";  // the source ends first
  EXPECT_EQ(RunTool(PackTrimTool(), fields), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("cut.seq")), Slice(source, 8 * 38016, 2 * 38016));
  fields["seq"] = dir.File("absent.seq");
  EXPECT_EQ(RunTool(PackTrimTool(), fields), "unable to open source seq file.");
}

// Numbered bitmaps that FFmpeg wrote become the frames the formulas give; "ALL" stops at the first gap.
TEST(BitmapPack, FfmpegBitmapsBecomeTheFormulasFramesUpToTheFirstMissingNumber) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  // Width 22 is no multiple of 4: the bitmap rows carry two bytes of padding.
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc=size=22x18:rate=25 -frames:v 4 -pix_fmt bgr24 -start_number 0 " +
                                 folder + "train%02d.bmp -frames:v 4 -f rawvideo -pix_fmt rgb24 " +
                                 dir.File("frames.rgb")));
  std::filesystem::remove(folder + "train03.bmp");
  const std::vector<uint8_t> rgb = ReadFileBytes(dir.File("frames.rgb"));
  const size_t rgb_frame = 22 * 18 * 3;
  std::vector<uint8_t> expected;
  for (size_t i = 0; i < 3; ++i) {
    const std::vector<uint8_t> frame = testing::ReferenceSequenceFrame(Slice(rgb, i * rgb_frame, rgb_frame), 22, 18);
    expected.insert(expected.end(), frame.begin(), frame.end());
  }
  const std::map<std::string, std::string> fields{
      {"dir", folder},  {"name", "train(*)"},        {"all", "1"}, {"digits", "2"}, {"width", "22"},
      {"height", "18"}, {"seq", dir.File("out.seq")}};
  EXPECT_EQ(RunTool(BitmapPackTool(), fields), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("out.seq")), expected);
}

TEST(BitmapPack, TakesEightBitBitmapsAsGreyAndRefusesOtherSizes) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  ASSERT_TRUE(
      testing::RunFfmpeg("-f lavfi -i testsrc=size=10x4:rate=1 -frames:v 1 -pix_fmt pal8 " + folder + "g0.bmp"));
  DibImage grey;
  ASSERT_EQ(ReadDibFile(folder + "g0.bmp", grey), DibLoad::kLoaded);
  std::map<std::string, std::string> fields{{"dir", folder},
                                            {"name", "g(*)"},
                                            {"from", "0"},
                                            {"to", "0"},
                                            {"width", "10"},
                                            {"height", "4"},
                                            {"seq", dir.File("grey.seq")}};
  EXPECT_EQ(RunTool(BitmapPackTool(), fields), "ok!");
  const std::vector<uint8_t> frame = ReadFileBytes(dir.File("grey.seq"));
  ASSERT_EQ(frame.size(), 60u);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(Slice(frame, static_cast<size_t>(y) * 10, 10),
              Slice(grey.pixels, static_cast<size_t>(3 - y) * grey.Stride(), 10));
  }
  EXPECT_EQ(Slice(frame, 40, 20), std::vector<uint8_t>(20, 128));
  fields["width"] = "12";
  EXPECT_EQ(RunTool(BitmapPackTool(), fields), "bmp file is not a 24-bit or 8-bit picture of the given size: g0.bmp");
}

// bitmapgroup stores tight rows and skips missing numbers; grouppack reads them back into the same frames
// bitmappack makes from the bitmaps themselves.
TEST(GroupPack, GroupFilesOfBitmapsWithPaddedRowsConvertLikeTheBitmaps) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  std::vector<uint8_t> tight_rows;
  for (const int i : {0, 1, 3}) {
    const DibImage image = testing::RandomBgrBitmap(6, 4, static_cast<uint32_t>(i + 20));
    testing::WriteBitmap(folder + "p" + std::to_string(i) + ".bmp", image);
    for (int row = 0; row < 4; ++row) {
      const std::vector<uint8_t> stored = Slice(image.pixels, static_cast<size_t>(row) * image.Stride(), 18);
      tight_rows.insert(tight_rows.end(), stored.begin(), stored.end());
    }
  }
  const std::map<std::string, std::string> group_fields{{"dir", folder},
                                                        {"name", "p(*)"},
                                                        {"from", "0"},
                                                        {"to", "3"},
                                                        {"width", "6"},
                                                        {"height", "4"},
                                                        {"gbmp", dir.File("all.gbmp")}};
  EXPECT_EQ(RunTool(BitmapGroupTool(), group_fields), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("all.gbmp")), tight_rows);

  std::map<std::string, std::string> pack_fields{
      {"gbmp", dir.File("all.gbmp")}, {"all", "1"}, {"width", "6"}, {"height", "4"}, {"seq", dir.File("group.seq")}};
  EXPECT_EQ(RunTool(GroupPackTool(), pack_fields), "ok!");
  std::map<std::string, std::string> bitmap_fields = group_fields;
  bitmap_fields.erase("gbmp");
  bitmap_fields["seq"] = dir.File("bitmaps.seq");
  bitmap_fields["to"] = "1";
  EXPECT_EQ(RunTool(BitmapPackTool(), bitmap_fields), "ok!");
  bitmap_fields["from"] = bitmap_fields["to"] = "3";
  bitmap_fields["seq"] = dir.File("third.seq");
  EXPECT_EQ(RunTool(BitmapPackTool(), bitmap_fields), "ok!");
  std::vector<uint8_t> expected = ReadFileBytes(dir.File("bitmaps.seq"));
  const std::vector<uint8_t> third = ReadFileBytes(dir.File("third.seq"));
  expected.insert(expected.end(), third.begin(), third.end());
  EXPECT_EQ(ReadFileBytes(dir.File("group.seq")), expected);

  pack_fields.erase("all");
  pack_fields["from"] = "1";
  pack_fields["to"] = "1";
  EXPECT_EQ(RunTool(GroupPackTool(), pack_fields), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("group.seq")), Slice(expected, 36, 36));
  pack_fields["gbmp"] = dir.File("absent.gbmp");
  EXPECT_EQ(RunTool(GroupPackTool(), pack_fields), "unable to open group_bmp file.");
}

// Headerless files damaged at the end: half a frame after the whole ones is never a frame, and a range beyond the
// end takes nothing, for the sequence and the group-BMP readers alike.
TEST(SequenceAndGroupFiles, TrailingPartialFrameAndRangesBeyondTheEndGiveOnlyWholeFrames) {
  TempDir dir;
  const std::vector<uint8_t> sequence = testing::PatternBytes(2 * 12 + 6, 4);  // 4 × 2: 12 bytes a frame
  const std::vector<uint8_t> group = testing::PatternBytes(2 * 24 + 23, 5);    // 24 bytes a frame
  testing::WriteBytes(dir.File("in.seq"), sequence);
  testing::WriteBytes(dir.File("in.gbmp"), group);
  std::map<std::string, std::string> trim{{"seq", dir.File("in.seq")}, {"width", "4"}, {"height", "2"},
                                          {"from", "0"}, {"to", "9"}, {"out", dir.File("cut.seq")}};
  EXPECT_EQ(RunTool(PackTrimTool(), trim), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("cut.seq")), Slice(sequence, 0, 24));
  std::map<std::string, std::string> pack{
      {"gbmp", dir.File("in.gbmp")}, {"all", "1"}, {"width", "4"}, {"height", "2"}, {"seq", dir.File("group.seq")}};
  EXPECT_EQ(RunTool(GroupPackTool(), pack), "ok!");
  EXPECT_EQ(ReadFileBytes(dir.File("group.seq")).size(), 2u * 12);
  for (auto* fields : {&trim, &pack}) {
    fields->erase("all");
    (*fields)["from"] = "5";
    (*fields)["to"] = "9";
  }
  EXPECT_EQ(RunTool(PackTrimTool(), trim), "ok!");
  EXPECT_TRUE(ReadFileBytes(dir.File("cut.seq")).empty());
  EXPECT_EQ(RunTool(GroupPackTool(), pack), "ok!");
  EXPECT_TRUE(ReadFileBytes(dir.File("group.seq")).empty());
}

}  // namespace
}  // namespace vidmetra::converters
