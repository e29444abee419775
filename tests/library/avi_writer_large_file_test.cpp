// A file past 1 GiB: the muxer moves on to OpenDML extension forms, and every frame must still be found by
// FFmpeg and by our container parser. About 1.1 GB is written, so the test is skipped when the disk is short.
#include "vidmetra/avi_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "support/video_probe.h"
#include "vidmetra/avi_container.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 175;  // 6,220,800 bytes each: just past 1 GiB
constexpr uintmax_t kDiskNeeded = uintmax_t{3} << 30;

// Frames are told apart by their number stamped at both ends, which is all a misplaced sample needs to show.
void Stamp(std::vector<uint8_t>& frame, int n) {
  const auto value = static_cast<uint32_t>(n) * 2654435761u;
  std::memcpy(frame.data(), &value, sizeof value);
  std::memcpy(frame.data() + frame.size() - sizeof value, &value, sizeof value);
}

TEST(AviWriterLargeFileTest, UncompressedFileOverOneGibibyteKeepsEveryFrame) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  testing::TempDir dir;
  if (std::filesystem::space(dir.path()).available < kDiskNeeded) GTEST_SKIP() << "not enough free disk space";
  const std::string name = dir.File("large.avi");
  const auto frame_bytes = static_cast<size_t>(RowBytes(kRgb24, kWidth) * kHeight);
  std::vector<uint8_t> frame(frame_bytes, 0x5A);
  {
    auto writer = CreateAviWriter(name, kWidth, kHeight, 1, 25, nullptr, CompressorSettings{});
    ASSERT_NE(writer, nullptr);
    for (int n = 0; n < kFrames; ++n) {
      Stamp(frame, n);
      ASSERT_EQ(writer->WriteRaw(frame.data()), AviWriter::kOk);
    }
    ASSERT_EQ(writer->Close(), AviWriter::kOk);
  }
  ASSERT_GT(std::filesystem::file_size(name), uintmax_t{1} << 30);

  const testing::ProbedVideo probed = testing::ProbeVideo(name);
  EXPECT_EQ(probed.frames, kFrames);
  EXPECT_EQ(probed.width, kWidth);
  EXPECT_EQ(probed.height, kHeight);
  // The last frame decodes to what was written.
  ASSERT_TRUE(testing::RunFfmpeg("-sseof -0.04 -i '" + name + "' -frames:v 1 -vf vflip -pix_fmt bgr24 -f rawvideo '" +
                                 dir.File("last.raw") + "'"));
  const std::vector<uint8_t> last = testing::ReadFileBytes(dir.File("last.raw"));
  Stamp(frame, kFrames - 1);
  ASSERT_EQ(last.size(), static_cast<size_t>(3 * kWidth * kHeight));
  EXPECT_EQ(std::memcmp(last.data(), frame.data(), 4), 0);

  // Our reader finds every frame; the first and the last carry their stamps.
  const auto reader = OpenSequenceReader(name, 0, 0, kRgb24, false);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->FrameCount(), kFrames);
  std::vector<uint8_t> decoded(frame_bytes);
  for (const int n : {0, kFrames - 1}) {
    ASSERT_EQ(reader->ReadFrameRaw(decoded.data(), n), 0) << n;
    Stamp(frame, n);
    EXPECT_EQ(std::memcmp(decoded.data(), frame.data(), 4), 0) << n;
  }

  AviContainer container;
  ASSERT_TRUE(container.Open(name));
  ContainerStream* video = container.VideoStream(0);
  ASSERT_NE(video, nullptr);
  ASSERT_EQ(video->Length(), kFrames);
  std::vector<uint8_t> read(frame_bytes);
  for (int n = 0; n < kFrames; ++n) {
    int64_t size = 0;
    ASSERT_TRUE(video->Read(n, read.data(), static_cast<int64_t>(read.size()), size)) << n;
    ASSERT_EQ(size, static_cast<int64_t>(frame_bytes));
    Stamp(frame, n);
    ASSERT_EQ(std::memcmp(read.data(), frame.data(), 4), 0) << n;
    ASSERT_EQ(std::memcmp(read.data() + frame_bytes - 4, frame.data() + frame_bytes - 4, 4), 0) << n;
  }
}

}  // namespace
}  // namespace vidmetra
