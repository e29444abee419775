// vidmetra-cli's visualization videos and bad-frame pictures, read back by FFmpeg, and what happens when they
// cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "support/byte_files.h"
#include "support/command.h"
#include "support/decoded_reference.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "support/video_probe.h"

namespace vidmetra {
namespace {

using testing::RunCommand;

constexpr int kWidth = 176;
constexpr int kHeight = 144;
constexpr int kFrames = 6;

// Rows of the caption box at the top-left corner: the product line and the frame line, shadows included.
bool InCaption(int x, int y) { return x >= 15 && x < 165 && y >= 15 && y < 46; }

class VisualOutputsTest : public ::testing::Test {
 protected:
  VisualOutputsTest() {
    // IYUV clips of varied content: the original a pattern, the encode the pattern with noise.
    std::ofstream original(In("orig.yuv"), std::ios::binary);
    std::ofstream encode(In("enc.yuv"), std::ios::binary);
    const auto bytes = testing::PatternBytes(kWidth * kHeight * 3 / 2 * kFrames, 15);
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto level = static_cast<char>(bytes[i] / 2 + 64);
      original.put(level);
      encode.put(static_cast<char>(level + static_cast<char>(bytes[(i * 7) % bytes.size()] % 9) - 4));
    }
  }
  testing::CommandResult Cli(const std::string& arguments) {
    return RunCommand(std::string(VIDMETRA_CLI) + " --json " + arguments + " 2>" + In("stderr.txt"));
  }
  std::string Raw() const { return "--size " + std::to_string(kWidth) + "x" + std::to_string(kHeight) + " --format iyuv "; }
  std::string Errors() { return testing::ReadText(In("stderr.txt")); }
  std::string In(const std::string& name) const { return dir.File(name); }
  // A folder nothing can be written into. As the superuser every folder takes files, so then a "folder" below a
  // plain file stands in for it.
  std::string UnwritableFolder() {
    const std::string folder = In("locked");
    std::filesystem::create_directory(folder);
    chmod(folder.c_str(), 0500);
    if (access(folder.c_str(), W_OK) != 0) return folder;
    testing::WriteText(In("plain.txt"), "x");
    return In("plain.txt") + "/inside";
  }
  testing::TempDir dir;
};

TEST_F(VisualOutputsTest, VisualizationVideoDecodesInFfmpegWithItsCaption) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  const auto run = Cli(Raw() + "--visualize " + dir.path().string() + " --compressor ffv1 --caption-frame-number " +
                       In("orig.yuv") + " " + In("enc.yuv"));
  ASSERT_EQ(run.exit_code, 0) << Errors();
  const std::string video = In("psnr_yyuv_orig_enc.avi");
  EXPECT_NE(run.output.find("\"files_written\":[\"" + video + "\"]"), std::string::npos) << run.output;
  EXPECT_NE(Errors().find("Saving visualization to \"" + video + "\""), std::string::npos) << Errors();
  const testing::ProbedVideo probed = testing::ProbeVideo(video);
  EXPECT_EQ(probed.codec, "ffv1");
  EXPECT_EQ(probed.width, kWidth);
  EXPECT_EQ(probed.height, kHeight);
  EXPECT_EQ(probed.frames, kFrames);

  // Identical inputs: nothing differs, so every pixel outside the caption is black, and the caption is at the
  // top left of the picture as FFmpeg shows it.
  std::filesystem::copy_file(In("orig.yuv"), In("same.yuv"));
  ASSERT_EQ(Cli(Raw() + "--visualize " + dir.path().string() + " --compressor FFV1 --caption-frame-number " +
                In("orig.yuv") + " " + In("same.yuv")).exit_code, 0) << Errors();
  const auto frames = testing::FfmpegDecodedFrames(In("psnr_yyuv_orig_same.avi"), "bgr24", kWidth, kHeight,
                                                   In("scratch.raw"));
  ASSERT_EQ(frames.size(), static_cast<size_t>(kFrames));
  const size_t row_bytes = (3 * kWidth + 3) / 4 * 4;
  for (const auto& frame : frames) {
    int outside = 0;
    int light = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint8_t* pixel = frame.data() + static_cast<size_t>(kHeight - 1 - y) * row_bytes + 3 * x;
        const bool black = pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
        if (!InCaption(x, y) && !black) ++outside;
        if (InCaption(x, y) && pixel[1] >= 200) ++light;
      }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(light, 50);
  }
}

TEST_F(VisualOutputsTest, BadFramesOfAnAviOriginalAndItsMp4EncodeReadBackInFfmpeg) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  if (!testing::HaveFfmpegEncoder("libx264")) GTEST_SKIP() << "this ffmpeg has no libx264";
  const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc2=size=" + size + ":rate=25 -frames:v 12 -c:v ffv1 -pix_fmt "
                                 "yuv420p '" + In("clip.avi") + "'"));
  ASSERT_TRUE(
      testing::RunFfmpeg("-i '" + In("clip.avi") + "' -c:v libx264 -crf 40 -bf 2 '" + In("encode.mp4") + "'"));
  const std::string folder = In("bad");
  std::filesystem::create_directory(folder);
  const auto run = Cli("--bad-frames " + folder + " --bad-count 2 --caption-values --csv " + dir.path().string() +
                       " " + In("clip.avi") + " " + In("encode.mp4"));
  ASSERT_EQ(run.exit_code, 0) << Errors();
  EXPECT_NE(Errors().find("Saving bad frames to \"" + folder + "\""), std::string::npos);
  EXPECT_NE(Errors().find("Bad frames saved"), std::string::npos);
  std::smatch chosen;
  ASSERT_TRUE(std::regex_search(run.output, chosen,
                                std::regex("\"bad_frames\":\\{\"original\":\\[(\\d+),(\\d+)\\],\"first_processed\":"
                                           "\\[(\\d+),(\\d+)\\]\\}")))
      << run.output;
  EXPECT_EQ(chosen[1], chosen[3]);
  const auto reference_clip = testing::FfmpegDecodedFrames(In("clip.avi"), "bgr24", kWidth, kHeight, In("c.raw"));
  const auto reference_encode = testing::FfmpegDecodedFrames(In("encode.mp4"), "bgr24", kWidth, kHeight, In("e.raw"));
  ASSERT_EQ(reference_clip.size(), 12u);
  ASSERT_EQ(reference_encode.size(), 12u);
  for (const int frame : {std::stoi(chosen[1]), std::stoi(chosen[2])}) {
    for (const auto& [name, reference] :
         {std::pair{std::string("clip"), &reference_clip}, std::pair{std::string("encode"), &reference_encode}}) {
      const std::string picture = folder + "/" + name + "_fr_" + (frame < 10 ? "0" : "") + std::to_string(frame) + ".bmp";
      EXPECT_NE(run.output.find("\"" + picture + "\""), std::string::npos) << picture << " not listed";
      const testing::ProbedVideo probed = testing::ProbeVideo(picture);
      EXPECT_EQ(probed.codec, "bmp") << picture;
      EXPECT_EQ(probed.width, kWidth);
      const auto decoded = testing::FfmpegDecodedFrames(picture, "bgr24", kWidth, kHeight, In("p.raw"));
      ASSERT_EQ(decoded.size(), 1u) << picture;
      // The same picture as FFmpeg decodes from the input, up to the colour matrices' rounding and chroma
      // upsampling at colour edges, outside the caption; and far from the picture turned upside down.
      const size_t row_bytes = (3 * kWidth + 3) / 4 * 4;
      const std::vector<uint8_t>& expected = (*reference)[static_cast<size_t>(frame)];
      int64_t difference = 0;
      int64_t flipped_difference = 0;
      int64_t samples = 0;
      bool caption_light = false;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const size_t at = static_cast<size_t>(kHeight - 1 - y) * row_bytes + 3 * static_cast<size_t>(x);
          if (y >= 15 && y < 46 && x >= 15) {
            caption_light = caption_light || (decoded[0][at] == 220 && decoded[0][at + 1] == 220);
            continue;
          }
          const size_t mirrored = static_cast<size_t>(y) * row_bytes + 3 * static_cast<size_t>(x);
          for (size_t c = 0; c < 3; ++c) {
            difference += std::abs(decoded[0][at + c] - expected[at + c]);
            flipped_difference += std::abs(decoded[0][at + c] - expected[mirrored + c]);
          }
          samples += 3;
        }
      }
      const double mean = static_cast<double>(difference) / static_cast<double>(samples);
      EXPECT_LT(mean, 6.0) << picture;
      EXPECT_GT(static_cast<double>(flipped_difference) / static_cast<double>(samples), 4 * mean) << picture;
      EXPECT_TRUE(caption_light) << picture;
    }
  }
}

TEST_F(VisualOutputsTest, VisualizationThatCannotBeWrittenFailsTheRunButKeepsTheCsv) {
  std::filesystem::create_directory(In("a_folder"));
  struct Case {
    std::string arguments;
    std::string line;
  };
  const Case cases[] = {
      {"--visualize " + UnwritableFolder(), "Failed to create visualization file; visualization skipped"},
      {"--visualize /dev --visualize-name full", "Failed to write visualization file \"/dev/full\""},
      {"--visualize " + dir.path().string() + " --visualize-name a_folder",
       "Failed to create visualization file; visualization skipped"},
  };
  for (const Case& c : cases) {
    const std::string csv = In("psnr_yyuv_orig_enc.csv");
    std::filesystem::remove(csv);
    const auto run = Cli(Raw() + c.arguments + " --csv " + dir.path().string() + " " + In("orig.yuv") + " " +
                         In("enc.yuv"));
    EXPECT_EQ(run.exit_code, 1) << c.arguments;
    EXPECT_NE(run.output.find("\"visualization_status\":1"), std::string::npos) << c.arguments << run.output;
    EXPECT_NE(run.output.find("\"files_written\":[\"" + csv + "\"]"), std::string::npos) << c.arguments << run.output;
    EXPECT_NE(Errors().find(c.line), std::string::npos) << c.arguments << ": " << Errors();
    EXPECT_TRUE(std::filesystem::is_regular_file(csv)) << c.arguments;
  }
}

TEST_F(VisualOutputsTest, BadFramesThatCannotBeWrittenFailTheRunButKeepTheCsv) {
  // Pictures whose names are taken by folders, or that lead to a device that is always full.
  const std::string taken = In("taken");
  const std::string full = In("full");
  std::filesystem::create_directory(taken);
  std::filesystem::create_directory(full);
  for (const char* input : {"orig", "enc"}) {
    for (int frame = 0; frame < kFrames; ++frame) {
      const std::string name = std::string(input) + "_fr_" + std::to_string(frame) + ".bmp";
      std::filesystem::create_directory(taken + "/" + name);
      std::filesystem::create_symlink("/dev/full", full + "/" + name);
    }
  }
  for (const std::string& folder : {UnwritableFolder(), taken, full}) {
    const std::string csv = In("psnr_yyuv_orig_enc.csv");
    std::filesystem::remove(csv);
    const auto run = Cli(Raw() + "--bad-frames " + folder + " --bad-count 3 --csv " + dir.path().string() + " " +
                         In("orig.yuv") + " " + In("enc.yuv"));
    EXPECT_EQ(run.exit_code, 1) << folder;
    EXPECT_NE(run.output.find("\"bad_frames\":null"), std::string::npos) << folder << run.output;
    EXPECT_NE(run.output.find("\"files_written\":[\"" + csv + "\"]"), std::string::npos) << folder << run.output;
    EXPECT_NE(Errors().find("Failed to save bad frames!"), std::string::npos) << folder << ": " << Errors();
    EXPECT_EQ(Errors().find("Bad frames saved"), std::string::npos) << folder;
    EXPECT_TRUE(std::filesystem::is_regular_file(csv)) << folder;
  }
}

TEST_F(VisualOutputsTest, OptionErrorsExitWithTwo) {
  const char* cases[][2] = {
      {"--caption middle", "--caption must be"},
      {"--bad-mode worst", "--bad-mode must be"},
      {"--bad-frames x --bad-mode first-better", "compares two processed files"},
      {"--compressor NOPE", "--compressor 'NOPE'"},
      {"--compressor FFV1:nosuchoption=1", "--compressor 'FFV1:nosuchoption=1'"},
      {"--bad-count -1", "must not be negative"},
  };
  for (const auto& c : cases) {
    const auto run = Cli(Raw() + c[0] + " " + In("orig.yuv") + " " + In("enc.yuv"));
    EXPECT_EQ(run.exit_code, 2) << c[0];
    EXPECT_NE(Errors().find(c[1]), std::string::npos) << c[0] << ": " << Errors();
  }
}

}  // namespace
}  // namespace vidmetra
