// Vectorised kernels change no measured value: the CSV of every built-in metric on every component it accepts,
// byte for byte the same with the scalar references only (VIDMETRA_CPU_MASK=scalar) as with every tier the
// processor has, under both colour matrices; and PSNR on every component of packed YUY2 and of RGB inputs (an
// uncompressed AVI file FFmpeg wrote), whose preparation takes paths of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <string>
#include <vector>

#include "support/byte_files.h"
#include "support/command.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "vidmetra/cpu_dispatch.h"

namespace vidmetra {
namespace {

struct MetricComponent {
  const char* metric;
  char component;
  const char* input = "iyuv";  // iyuv, yuy2 (raw) or avi (24-bit RGB)
};

std::vector<MetricComponent> EveryMetricAndComponent() {
  const std::pair<const char*, const char*> accepted[] = {
      {"psnr", "YUVRGBL"}, {"mse", "YUVRGBL"},   {"msad", "YUVRGBL"},           {"delta", "YUVRGBL"},
      {"ssim", "Y"},       {"vqm", "Y"},         {"blocking_measure", "Y"}, {"blurring_measure", "YUV"}};
  std::vector<MetricComponent> all;
  for (const auto& [metric, components] : accepted) {
    for (const char* c = components; *c != '\0'; ++c) all.push_back({metric, *c});
  }
  for (const char* input : {"yuy2", "avi"}) {
    for (const char* c = "YUVRGBL"; *c != '\0'; ++c) all.push_back({"psnr", *c, input});
  }
  return all;
}

class CpuTierIdentity : public ::testing::TestWithParam<MetricComponent> {
 protected:
  static void SetUpTestSuite() {
    // Textured pictures with coding-like noise, 88x64: 11 blocks across, so vector loops also meet remainders.
    const size_t frame = 88 * 64 * 3 / 2;
    const std::vector<uint8_t> original = testing::PatternBytes(4 * frame, 11);
    std::vector<uint8_t> processed = original;
    const std::vector<uint8_t> noise = testing::PatternBytes(processed.size(), 12);
    for (size_t i = 0; i < processed.size(); ++i) processed[i] = static_cast<uint8_t>(processed[i] + noise[i] % 13 - 6);
    dir_ = new testing::TempDir;
    testing::WriteBytes(dir_->File("orig.yuv"), original);
    testing::WriteBytes(dir_->File("enc.yuv"), processed);
  }

  // The clips as `input` (yuy2 or avi), converted by FFmpeg on first use.
  static bool Convert(const std::string& input) {
    bool converted = true;
    for (const std::string name : {"orig", "enc"}) {
      if (std::filesystem::exists(dir_->File(name + "." + input))) continue;
      const std::string from = "-f rawvideo -pix_fmt yuv420p -s 88x64 -i " + dir_->File(name + ".yuv");
      const std::string to = input == "avi" ? " -c:v rawvideo -pix_fmt bgr24 " : " -f rawvideo -pix_fmt yuyv422 ";
      converted = converted && testing::RunFfmpeg(from + to + dir_->File(name + "." + input));
    }
    return converted;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  // The CSV text of one run, the CPU mask set to `mask` (empty: no cap).
  static std::string Csv(const MetricComponent& run, const std::string& matrix, const std::string& mask) {
    const std::string input = run.input;
    const std::string folder = dir_->File(std::string(run.metric) + run.component + input + matrix + mask);
    std::filesystem::create_directory(folder);
    const std::string ending = input == "iyuv" ? ".yuv" : "." + input;
    const std::string format = input == "avi" ? "" : " --size 88x64 --format " + input;
    const std::string command = std::string(kCpuMaskVariable) + "=" + mask + " " + VIDMETRA_CLI + " -q" + format +
                                " --matrix " + matrix + " --csv " + folder + " --metric " + run.metric +
                                " --component " + run.component + " " + dir_->File("orig" + ending) + " " +
                                dir_->File("enc" + ending) + " >/dev/null 2>&1";
    EXPECT_EQ(testing::RunCommand(command).exit_code, 0) << command;
    std::string text;
    for (const auto& file : std::filesystem::directory_iterator(folder)) text += testing::ReadText(file.path());
    return text;
  }

  static testing::TempDir* dir_;
};

testing::TempDir* CpuTierIdentity::dir_ = nullptr;

TEST_P(CpuTierIdentity, CsvBytesMatchTheScalarReferences) {
  const std::string input = GetParam().input;
  ASSERT_TRUE(input == "iyuv" || Convert(input)) << "ffmpeg could not convert the clips to " << input;
  for (const std::string matrix : {"rec601", "pc601"}) {
    const std::string scalar = Csv(GetParam(), matrix, "scalar");
    EXPECT_NE(scalar.find("AVG"), std::string::npos) << matrix;
    EXPECT_EQ(Csv(GetParam(), matrix, ""), scalar) << matrix;
  }
}

INSTANTIATE_TEST_SUITE_P(Metrics, CpuTierIdentity, ::testing::ValuesIn(EveryMetricAndComponent()),
                         [](const ::testing::TestParamInfo<MetricComponent>& param) {
                           const std::string input = param.param.input;
                           return std::string(param.param.metric) + "_" + param.param.component +
                                  (input == "iyuv" ? "" : "_" + input);
                         });

}  // namespace
}  // namespace vidmetra
