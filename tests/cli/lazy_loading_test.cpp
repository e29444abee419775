// FFmpeg's libraries are loaded when a file first needs them, and Qt only for --plot: runs on raw files and
// uncompressed AVI files load neither. Without FFmpeg those are still measured while media files and compressed
// videos fail as the readers and writers always fail, with the reason in the log; without the plot module only the
// plot is missing.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "support/avi_builder.h"
#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {
namespace {

const FfmpegLibrary kLibraries[] = {FfmpegLibrary::kAvutil, FfmpegLibrary::kSwscale, FfmpegLibrary::kAvcodec,
                                    FfmpegLibrary::kAvformat};

// Where this process loaded the library holding `function` from.
std::filesystem::path LoadedFrom(const void* function) {
  Dl_info info{};
  if (dladdr(function, &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
}

class LazyLoadingTest : public CliTest {
 protected:
  LazyLoadingTest() {
    // The same pictures as the raw clips, in a container only FFmpeg reads.
    WriteY4m("orig.y4m", {10, 20, 30});
    WriteY4m("enc.y4m", {12, 20, 29});
    WriteAvi("rgb.avi", std::string(4, '\0'), 24);
    WriteAvi("mjpeg.avi", "MJPG", 24);
  }
  // 16x16 frames, stored as given: 24-bit rows, or bytes that only a decompressor for `compression` would read.
  void WriteAvi(const std::string& name, const std::string& compression, uint16_t bit_count) {
    testing::AviBuilder avi;
    const int stream = avi.AddVideoStream(16, 16, compression, bit_count);
    for (uint32_t seed = 1; seed <= 3; ++seed) avi.AddSample(stream, testing::PatternBytes(16 * 16 * 3, seed));
    avi.Write(In(name), testing::AviIndexLayout::kClassicRelative);
  }
  void WriteY4m(const std::string& name, const std::vector<uint8_t>& levels) {
    std::ofstream file(dir.File(name), std::ios::binary);
    file << "YUV4MPEG2 W16 H16 F25:1 Ip A1:1 C420jpeg\n";
    for (const uint8_t level : levels) {
      file << "FRAME\n" << std::string(256, static_cast<char>(level)) << std::string(128, static_cast<char>(128));
    }
  }
  // The summary's figures, without the file names before them.
  static std::string Average(const std::string& output) {
    const size_t at = output.find(": average");
    return at == std::string::npos ? std::string() : output.substr(at);
  }
  std::string RawPair() { return "--size 16x16 --format iyuv " + In("orig.yuv") + " " + In("enc.yuv"); }
  std::string MediaPair() { return In("orig.y4m") + " " + In("enc.y4m"); }
};

TEST_F(LazyLoadingTest, RunsOnRawFilesLoadNeitherFfmpegNorQt) {
  const std::string runs[] = {"--help", "--list-metrics", "--metric psnr " + RawPair(),
                              "--metric psnr,ssim,vqm --csv " + dir.path().string() + " " + RawPair(),
                              "--metric psnr " + In("rgb.avi") + " " + In("rgb.avi")};
  for (const std::string& arguments : runs) {
    const auto run = Cli(arguments, "LD_DEBUG=files");
    EXPECT_EQ(run.exit_code, 0) << arguments;
    const std::string loads = Errors();
    // The trace is there: the C library itself is in it.
    ASSERT_NE(loads.find("libc.so"), std::string::npos) << arguments;
    for (const FfmpegLibrary library : kLibraries) {
      EXPECT_EQ(loads.find(FfmpegLibraryName(library)), std::string::npos) << arguments << " loads "
                                                                            << FfmpegLibraryName(library);
    }
    EXPECT_EQ(loads.find("libQt6"), std::string::npos) << arguments << " loads Qt";
  }
  // A media file does load FFmpeg, and a plot Qt.
  EXPECT_EQ(Cli("--metric psnr " + MediaPair(), "LD_DEBUG=files").exit_code, 0);
  EXPECT_NE(Errors().find(FfmpegLibraryName(FfmpegLibrary::kAvformat)), std::string::npos);
  EXPECT_EQ(Cli("--plot " + In("plot.png") + " " + RawPair(), "LD_DEBUG=files").exit_code, 0);
  EXPECT_NE(Errors().find("libQt6Gui"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(In("plot.png")));
}

TEST_F(LazyLoadingTest, WithoutThePlotModuleOnlyThePlotIsMissing) {
  // The program alone in a folder of its own.
  const std::filesystem::path alone = dir.path() / "alone";
  std::filesystem::create_directory(alone);
  std::filesystem::copy_file(VIDMETRA_CLI, alone / "vidmetra-cli");
  const auto measured = Cli("--metric psnr " + RawPair());
  ASSERT_EQ(measured.exit_code, 0);
  const auto run = testing::RunCommand((alone / "vidmetra-cli").string() + " --plot " + In("plot.png") + " " +
                                       RawPair() + " 2>" + In("stderr.txt"));
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.output, measured.output);
  EXPECT_FALSE(std::filesystem::exists(In("plot.png")));
  const std::string errors = Errors();
  EXPECT_NE(errors.find("vidmetra-cli: no plot: the plot module cannot be loaded: "), std::string::npos) << errors;
  EXPECT_NE(errors.find((alone / "vidmetra-cli-plot").string()), std::string::npos) << errors;
}

TEST_F(LazyLoadingTest, WithoutFfmpegRawFilesAreMeasuredAndOthersFailWithTheReason) {
  const std::string missing = "VIDMETRA_FFMPEG_DIR=" + dir.File("nowhere");
  const auto raw = Cli("--metric psnr " + RawPair());
  ASSERT_EQ(raw.exit_code, 0);
  const auto media = Cli("--metric psnr " + MediaPair());
  ASSERT_EQ(media.exit_code, 0) << Errors();
  EXPECT_EQ(Average(media.output), Average(raw.output));
  EXPECT_NE(Average(raw.output), "");

  const auto raw_without = Cli("--metric psnr " + RawPair(), missing);
  EXPECT_EQ(raw_without.exit_code, 0) << Errors();
  EXPECT_EQ(raw_without.output, raw.output);

  const auto media_without = Cli("--metric psnr " + MediaPair(), missing);
  EXPECT_NE(media_without.exit_code, 0);
  EXPECT_EQ(media_without.output, "");
  const std::string log = Errors();
  EXPECT_NE(log.find("Failed to open file!"), std::string::npos) << log;
  EXPECT_NE(log.find("FFmpeg library " + FfmpegLibraryName(FfmpegLibrary::kAvutil) + " cannot be loaded: "),
            std::string::npos)
      << log;
  // The system loader's own reason follows.
  EXPECT_NE(log.find("nowhere/" + FfmpegLibraryName(FfmpegLibrary::kAvutil)), std::string::npos) << log;

  const auto compressors = Cli("--list-compressors", missing);
  EXPECT_EQ(compressors.exit_code, 0);
  EXPECT_EQ(compressors.output, "DIB   Uncompressed RGB\n");
  EXPECT_EQ(Cli("--compressor FFV1 --visualize " + dir.path().string() + " " + RawPair(), missing).exit_code, 2);

  // The visualization video cannot be written; the measurement still is.
  // Uncompressed AVI files are read without FFmpeg, compressed ones need its decompressors.
  EXPECT_EQ(Cli("--metric psnr " + In("rgb.avi") + " " + In("rgb.avi"), missing).exit_code, 0) << Errors();
  EXPECT_NE(Cli("--metric psnr " + In("mjpeg.avi") + " " + In("rgb.avi"), missing).exit_code, 0);
  EXPECT_NE(Errors().find("Can't find suitable decompressor! (FFmpeg library "), std::string::npos) << Errors();

  const auto visualized = Cli("--visualize " + dir.path().string() + " " + RawPair(), missing);
  EXPECT_EQ(visualized.exit_code, 1);
  EXPECT_EQ(Average(visualized.output), Average(raw.output));
  EXPECT_NE(Errors().find("Failed to create visualization file"), std::string::npos) << Errors();
}

TEST_F(LazyLoadingTest, ALibraryLackingAFunctionIsNamed) {
  const FfmpegApi& ff = Ffmpeg();
  const std::filesystem::path avutil = LoadedFrom(reinterpret_cast<const void*>(ff.av_frame_alloc));
  const std::filesystem::path swscale = LoadedFrom(reinterpret_cast<const void*>(ff.sws_scale));
  const std::filesystem::path avformat = LoadedFrom(reinterpret_cast<const void*>(ff.av_read_frame));
  ASSERT_FALSE(avutil.empty() || swscale.empty() || avformat.empty());
  // A folder of the real libraries, but with libavutil standing in for libavcodec.
  const std::filesystem::path folder = dir.path() / "ffmpeg";
  std::filesystem::create_directory(folder);
  const std::pair<FfmpegLibrary, std::filesystem::path> links[] = {{FfmpegLibrary::kAvutil, avutil},
                                                                   {FfmpegLibrary::kSwscale, swscale},
                                                                   {FfmpegLibrary::kAvcodec, avutil},
                                                                   {FfmpegLibrary::kAvformat, avformat}};
  for (const auto& [library, target] : links) {
    std::filesystem::create_symlink(target, folder / FfmpegLibraryName(library));
  }
  const std::string ffmpeg_dir = "VIDMETRA_FFMPEG_DIR=" + folder.string();
  const auto run = Cli("--metric psnr " + MediaPair(), ffmpeg_dir);
  EXPECT_NE(run.exit_code, 0);
  const std::string log = Errors();
  EXPECT_NE(log.find("Failed to open file!"), std::string::npos) << log;
  // The first function of libavcodec's part of the table.
  EXPECT_NE(log.find("FFmpeg library " + FfmpegLibraryName(FfmpegLibrary::kAvcodec) +
                     " lacks the function av_packet_alloc"),
            std::string::npos)
      << log;

  // The same folder with the real libavcodec is complete.
  std::filesystem::remove(folder / FfmpegLibraryName(FfmpegLibrary::kAvcodec));
  std::filesystem::create_symlink(LoadedFrom(reinterpret_cast<const void*>(ff.avcodec_open2)),
                                  folder / FfmpegLibraryName(FfmpegLibrary::kAvcodec));
  EXPECT_EQ(Cli("--metric psnr " + MediaPair(), ffmpeg_dir).exit_code, 0)
      << Errors();
}

}  // namespace
}  // namespace vidmetra
