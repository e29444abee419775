// SSIM and VQM split tall pictures into bands of rows, more of them the more threads a run has, and run
// vectorised kernels where the processor allows. Neither changes a byte: the CSV and the visualization video of
// one thread with the scalar references only are those of every thread count with every tier.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "vidmetra/cpu_dispatch.h"

namespace vidmetra {
namespace {

// Tall enough for SSIM bands of 64 rows and more at every thread count.
constexpr int kTallWidth = 64, kTallHeight = 840, kTallFrames = 3;

class BandIdentityTest : public CliTest {
 protected:
  // Texture with coding-like noise; in every frame a black square in the original is white in the processed
  // file, whose windows score so little that they take the exact sum's path for tiny indices.
  void WriteTallClips() {
    const size_t luma = static_cast<size_t>(kTallWidth) * kTallHeight;
    const size_t frame = luma * 3 / 2;
    std::vector<uint8_t> original = testing::PatternBytes(kTallFrames * frame, 21);
    std::vector<uint8_t> processed = original;
    const std::vector<uint8_t> noise = testing::PatternBytes(processed.size(), 22);
    for (size_t i = 0; i < processed.size(); ++i) processed[i] = static_cast<uint8_t>(processed[i] + noise[i] % 11 - 5);
    for (size_t n = 0; n < kTallFrames; ++n) {
      for (size_t y = 400; y < 432; ++y) {
        for (size_t x = 16; x < 48; ++x) {
          original[n * frame + y * kTallWidth + x] = 0;
          processed[n * frame + y * kTallWidth + x] = 255;
        }
      }
    }
    testing::WriteBytes(In("tall_orig.yuv"), original);
    testing::WriteBytes(In("tall_enc.yuv"), processed);
  }

  // The CSV and the visualization video of one run, one after the other.
  std::string Outputs(const std::string& metric, const std::string& threads, const std::string& mask) {
    const std::string folder = In(metric + threads + mask);
    std::filesystem::create_directory(folder);
    const std::string size = std::to_string(kTallWidth) + "x" + std::to_string(kTallHeight);
    const auto run = testing::RunCommand(std::string(kCpuMaskVariable) + "=" + mask + " " + VIDMETRA_CLI +
                                         " -q --size " + size + " --format iyuv --metric " + metric + " --threads " +
                                         threads + " --csv " + folder + " --visualize " + folder + " " +
                                         In("tall_orig.yuv") + " " + In("tall_enc.yuv") + " 2>" + In("stderr.txt"));
    EXPECT_EQ(run.exit_code, 0) << metric << " " << threads << " " << mask << ": " << Errors();
    std::string bytes;
    size_t files = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      bytes += testing::ReadText(file.path());
      ++files;
    }
    EXPECT_EQ(files, 2u) << metric;
    return bytes;
  }
};

TEST_F(BandIdentityTest, NeitherThreadsNorTiersChangeAByte) {
  WriteTallClips();
  for (const std::string metric : {"ssim", "vqm"}) {
    const std::string reference = Outputs(metric, "1", "scalar");
    EXPECT_NE(reference.find("AVG"), std::string::npos) << metric;
    for (const std::string threads : {"1", "2", "3"}) {
      EXPECT_EQ(Outputs(metric, threads, ""), reference) << metric << " with " << threads << " threads";
    }
    EXPECT_EQ(Outputs(metric, "3", "scalar"), reference) << metric << " scalar with 3 threads";
  }
}

}  // namespace
}  // namespace vidmetra
