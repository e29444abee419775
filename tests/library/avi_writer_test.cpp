#include "vidmetra/avi_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "support/avi_builder.h"
#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/frame_fill.h"
#include "support/temp_dir.h"
#include "support/video_probe.h"
#include "vidmetra/avi_container.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/compressor_catalogue.h"
#include "vidmetra/open_sequence_reader.h"
#include "vidmetra/video_output.h"

namespace vidmetra {
namespace {

using testing::TempDir;

constexpr uint32_t kScriptedFourCc = FourCc("TST1");

// What a scripted compressor was asked, shared with the test after the writer took the compressor.
struct CompressorLog {
  std::vector<bool> key_frames_wanted;
  std::vector<bool> previous_given;
  std::vector<bool> previous_was_last_frame;
  std::vector<uint8_t> last_frame;
  int one_byte_frame = -1;
};

// Emits frame n as n + 10 bytes of value n (one byte for the chosen frame), a key frame only when asked.
class ScriptedCompressor final : public VideoCompressor {
 public:
  explicit ScriptedCompressor(std::shared_ptr<CompressorLog> log) : log_(std::move(log)) {}
  std::string Description() const override { return "Scripted test compressor"; }
  uint32_t Flags() const override { return 0; }
  std::vector<uint8_t> State() const override { return {'s', '=', '1'}; }
  bool SetState(const std::vector<uint8_t>& state) override { return state.size() < 100; }
  void SetRateControl(int32_t, int32_t, int32_t, int32_t) override {}
  std::vector<uint8_t> OutputFormat(const BitmapInfoHeader& input) override {
    BitmapInfoHeader output = input;
    output.compression = kScriptedFourCc;
    const auto bytes = output.Bytes();
    return {bytes.begin(), bytes.end()};
  }
  bool Begin(const BitmapInfoHeader& input) override {
    frame_bytes_ = static_cast<size_t>(RowBytes(kRgb24, input.width) * input.height);
    return true;
  }
  bool Compress(const uint8_t* frame, int32_t frame_number, bool key_frame_wanted, int32_t,
                const uint8_t* previous, CompressedFrame& compressed) override {
    log_->key_frames_wanted.push_back(key_frame_wanted);
    log_->previous_given.push_back(previous != nullptr);
    log_->previous_was_last_frame.push_back(previous != nullptr &&
                                            std::equal(log_->last_frame.begin(), log_->last_frame.end(), previous));
    log_->last_frame.assign(frame, frame + frame_bytes_);
    output_.assign(frame_number == log_->one_byte_frame ? 1 : static_cast<size_t>(frame_number) + 10,
                   static_cast<uint8_t>(frame_number));
    compressed = CompressedFrame{output_.data(), static_cast<int64_t>(output_.size()), key_frame_wanted};
    return true;
  }
  bool Drain(CompressedFrame&) override { return false; }
  void End() override {}

 private:
  std::shared_ptr<CompressorLog> log_;
  std::vector<uint8_t> output_;
  size_t frame_bytes_ = 0;
};

class ScriptedCompressorInstalled {
 public:
  ScriptedCompressorInstalled() : log(std::make_shared<CompressorLog>()) {
    CompressorCatalogue::Entry entry;
    entry.fourcc = kScriptedFourCc;
    entry.description = "Scripted test compressor";
    entry.create = [log = log] { return std::make_unique<ScriptedCompressor>(log); };
    CompressorCatalogue::Instance().Install(entry);
  }
  ~ScriptedCompressorInstalled() { CompressorCatalogue::Instance().Remove(kScriptedFourCc); }

  std::shared_ptr<CompressorLog> log;
};

CompressorSettings SettingsFor(uint32_t fourcc) {
  CompressorSettings settings;
  settings.fcc_type = kVideoCompressorType;
  settings.fcc_handler = fourcc;
  settings.quality = 9000;
  return settings;
}

// `count` frames of smooth moving gradients with a little noise, top-down rows written to `raw` for FFmpeg.
std::vector<std::vector<uint8_t>> MakeFrames(int width, int height, int count, uint32_t seed) {
  std::mt19937 random(seed);
  const auto row_bytes = static_cast<size_t>(RowBytes(kRgb24, width));
  std::vector<std::vector<uint8_t>> frames;
  for (int n = 0; n < count; ++n) {
    std::vector<uint8_t> frame(row_bytes * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint8_t* pixel = &frame[static_cast<size_t>(y) * row_bytes + static_cast<size_t>(x) * 3];
        pixel[0] = static_cast<uint8_t>(x * 4 + n * 3 + (random() & 7));
        pixel[1] = static_cast<uint8_t>(y * 3 + n + (random() & 7));
        pixel[2] = static_cast<uint8_t>((x + y) * 2 - n * 5 + (random() & 7));
      }
    }
    frames.push_back(std::move(frame));
  }
  return frames;
}

// The frames as FFmpeg's raw input: rows top-down, no padding.
void WriteUprightRaw(const std::string& path, const std::vector<std::vector<uint8_t>>& frames, int width, int height) {
  const auto row_bytes = static_cast<size_t>(RowBytes(kRgb24, width));
  std::vector<uint8_t> raw;
  for (const auto& frame : frames) {
    for (int y = height - 1; y >= 0; --y) {
      const uint8_t* row = &frame[static_cast<size_t>(y) * row_bytes];
      raw.insert(raw.end(), row, row + 3 * width);
    }
  }
  testing::WriteBytes(path, raw);
}

std::string RawInput(const std::string& path, int width, int height) {
  return "-f rawvideo -pix_fmt bgr24 -s " + std::to_string(width) + "x" + std::to_string(height) + " -i '" + path + "'";
}

// Every frame of `name` through our own reader, asked for RGB24, in its tight layout; empty when a frame cannot
// be read.
std::vector<std::vector<uint8_t>> ReadBack(const std::string& name) {
  std::vector<std::vector<uint8_t>> frames;
  const auto reader = OpenSequenceReader(name, 0, 0, kRgb24, false);
  if (reader == nullptr || reader->ColourSpace() != kRgb24) return frames;
  for (int n = 0; n < reader->FrameCount(); ++n) {
    std::vector<uint8_t> frame(static_cast<size_t>(RowBytes(kRgb24, reader->Width()) * reader->Height()));
    if (reader->ReadFrameRaw(frame.data(), n) != 0) return {};
    frames.push_back(std::move(frame));
  }
  return frames;
}

TEST(AviWriterTest, WidthZeroYieldsNoWriterAndVideoOutputReportsError4) {
  TempDir dir;
  EXPECT_EQ(CreateAviWriter(dir.File("a.avi"), 0, 16, 1, 25, nullptr, CompressorSettings{}), nullptr);
  EXPECT_EQ(CreateAviWriter(dir.File("a.avi"), 16, 16, 0, 25, nullptr, CompressorSettings{}), nullptr);
  VideoOutput output;
  EXPECT_FALSE(output.OpenWithSettings(dir.File("a.avi"), 0, 16, 1, 25, CompressorSettings{}));
  EXPECT_EQ(output.error(), VideoOutput::kBadSize);
  EXPECT_FALSE(output.OpenByName(dir.File("a.avi"), 16, 0));
  EXPECT_EQ(output.error(), VideoOutput::kBadSize);
  EXPECT_FALSE(output.Write(nullptr));
  EXPECT_EQ(output.error(), VideoOutput::kNotOpen);
  EXPECT_FALSE(output.OpenByName(dir.File("missing/a.avi"), 16, 16));
  EXPECT_EQ(output.error(), VideoOutput::kWriterFailed);
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.avi")));
  // The text of a failed open names the file.
  AviWriter writer(16, 16, 1, 25, nullptr, CompressorSettings{});
  ASSERT_EQ(writer.Open(dir.File("missing/a.avi")), AviWriter::kCreateFailed);
  EXPECT_EQ(writer.ErrorText(AviWriter::kCreateFailed),
            "Error when writing file \"" + dir.File("missing/a.avi") + "\": Failed to create file!");
}

// Every sample key, handler "DIB" and a zero byte, the stream name, padded frames through the export path, and
// the pixels as FFmpeg decodes them.
TEST(AviWriterTest, UncompressedFramesAreKeySamplesThatFfmpegDecodesExactly) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  const std::string name = dir.File("plain.avi");
  const auto frames = MakeFrames(100, 30, 6, 1);
  {
    auto writer = CreateAviWriter(name, 100, 30, 1, 25, nullptr, CompressorSettings{});
    ASSERT_NE(writer, nullptr);
    EXPECT_FALSE(writer->compressing());
    EXPECT_EQ(writer->Describe(), "file \"" + name + "\" decompressor uncompressed");
    VideoFrame frame;
    for (const auto& pixels : frames) {
      ASSERT_TRUE(frame.SetFormat(100, 30, kRgb24, 0));
      frame.ImportTight(pixels.data());
      ASSERT_EQ(frame.alloc_width(), 112);  // the export path
      ASSERT_EQ(writer->WriteFrame(frame), AviWriter::kOk);
    }
    VideoFrame taller;
    ASSERT_TRUE(taller.SetFormat(100, 31, kRgb24, 0));
    EXPECT_EQ(writer->WriteFrame(taller), AviWriter::kNullPointer);
    EXPECT_EQ(writer->WriteRaw(nullptr), AviWriter::kNullPointer);
    EXPECT_EQ(writer->Close(), AviWriter::kOk);
    EXPECT_EQ(writer->WriteRaw(frames[0].data()), AviWriter::kBadFrameNumber);
  }
  AviContainer container;
  ASSERT_TRUE(container.Open(name));
  ContainerStream* video = container.VideoStream(0);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->Header().handler, FourCc("DIB ") & 0x00FFFFFF);  // "DIB" and a zero byte
  ASSERT_EQ(video->Length(), 6);
  for (int64_t n = 0; n < 6; ++n) {
    EXPECT_TRUE(video->IsKeyFrame(n));
    std::vector<uint8_t> sample(frames[0].size());
    int64_t size = 0;
    ASSERT_TRUE(video->Read(n, sample.data(), static_cast<int64_t>(sample.size()), size));
    EXPECT_EQ(sample, frames[static_cast<size_t>(n)]);
  }
  const testing::ProbedVideo probed = testing::ProbeVideo(name);
  EXPECT_EQ(probed.codec, "rawvideo");
  EXPECT_EQ(probed.frames, 6);
  EXPECT_EQ(probed.title, kAviStreamName);
  WriteUprightRaw(dir.File("expected.raw"), frames, 100, 30);
  EXPECT_EQ(testing::FrameMd5s("-i '" + name + "'", "bgr24"),
            testing::FrameMd5s(RawInput(dir.File("expected.raw"), 100, 30), "bgr24"));
  EXPECT_EQ(ReadBack(name), frames);
}

TEST(AviWriterTest, CompressingWriterAsksForOneKeyFrameAndStoresTheFrameAfterAOneByteFrameNot) {
  ScriptedCompressorInstalled installed;
  installed.log->one_byte_frame = 3;
  TempDir dir;
  const std::string name = dir.File("scripted.avi");
  const auto frames = MakeFrames(16, 8, 7, 2);
  {
    auto writer = CreateAviWriter(name, 16, 8, 1, 25, nullptr, SettingsFor(kScriptedFourCc));
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(writer->compressing());
    EXPECT_EQ(writer->video_info().handler, kScriptedFourCc);
    for (const auto& frame : frames) ASSERT_EQ(writer->WriteRaw(frame.data()), AviWriter::kOk);
  }
  EXPECT_EQ(installed.log->key_frames_wanted, (std::vector<bool>{true, false, false, false, false, false, false}));
  EXPECT_EQ(installed.log->previous_given, (std::vector<bool>{false, true, true, true, true, true, true}));
  EXPECT_EQ(installed.log->previous_was_last_frame, installed.log->previous_given);
  AviContainer container;
  ASSERT_TRUE(container.Open(name));
  ContainerStream* video = container.VideoStream(0);
  ASSERT_NE(video, nullptr);
  // Frames 0, 1, 2, 3 (1 byte), then 5 and 6 as samples 4 and 5; frame 4 is not stored.
  const std::vector<int> stored_frames = {0, 1, 2, 3, 5, 6};
  ASSERT_EQ(video->Length(), static_cast<int64_t>(stored_frames.size()));
  for (size_t sample = 0; sample < stored_frames.size(); ++sample) {
    const int frame = stored_frames[sample];
    std::vector<uint8_t> bytes(64);
    int64_t size = 0;
    ASSERT_TRUE(video->Read(static_cast<int64_t>(sample), bytes.data(), 64, size));
    EXPECT_EQ(size, frame == 3 ? 1 : frame + 10);
    EXPECT_EQ(bytes[0], frame);
    EXPECT_EQ(video->IsKeyFrame(static_cast<int64_t>(sample)), frame == 0);
  }
}

TEST(AviWriterTest, CatalogueNamesAndChooserFillTheSettings) {
  EXPECT_EQ(CompressorName(CompressorSettings{}), "Uncompressed RGB");
  EXPECT_EQ(CompressorName(SettingsFor(kUncompressedFourCc)), "Uncompressed RGB");
  ASSERT_NE(CompressorCatalogue::Instance().Find(FourCc("FFV1")), nullptr);
  EXPECT_EQ(CompressorName(SettingsFor(FourCc("FFV1"))), "FFV1 lossless (FFmpeg video codec #1)");
  CompressorSettings bad_state = SettingsFor(FourCc("FFV1"));
  bad_state.SetStateText("no_such_option=1");
  EXPECT_EQ(CompressorName(bad_state), "Uncompressed RGB");

  struct Chooser final : CompressorChooser {
    std::optional<CompressorChoice> choice;
    std::string title;
    BitmapInfoHeader input;
    std::optional<CompressorChoice> Choose(const BitmapInfoHeader& format, const std::string& asked) override {
      input = format;
      title = asked;
      return choice;
    }
  } chooser;
  CompressorSettings settings = SettingsFor(FourCc("MJPG"));
  const CompressorSettings before = settings;
  EXPECT_FALSE(ChooseCompressor(chooser, settings, Rgb24Format(32, 16)));
  EXPECT_EQ(settings, before);
  EXPECT_EQ(chooser.title, "Choose compressor:");
  EXPECT_EQ(chooser.input.image_size, 3u * 32 * 16);
  CompressorChoice choice;
  choice.fcc_handler = FourCc("H264");
  choice.quality = 5000;
  choice.data_rate = 800;
  chooser.choice = choice;
  if (CompressorCatalogue::Instance().Find(FourCc("H264")) != nullptr) {
    ASSERT_TRUE(ChooseCompressor(chooser, settings, Rgb24Format(32, 16)));
    EXPECT_EQ(settings.fcc_handler, FourCc("H264"));
    EXPECT_EQ(settings.quality, 5000);
    EXPECT_EQ(settings.data_rate, 800);
    EXPECT_EQ(settings.StateText(), "g=250:preset=medium");
  }
  TempDir dir;
  auto writer = CreateAviWriter(dir.File("chosen.avi"), 32, 16, 1, 25, nullptr, chooser);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(writer->compressing(), CompressorCatalogue::Instance().Find(FourCc("H264")) != nullptr);
}

// Each compressor of the catalogue makes a file FFmpeg reads with the right size, frame count and codec; the
// lossless ones give back every frame exactly.
TEST(AviWriterTest, EveryCatalogueCompressorWritesFilesFfmpegReads) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  const std::map<uint32_t, std::pair<std::string, bool>> expected = {
      {kUncompressedFourCc, {"rawvideo", true}}, {FourCc("FFV1"), {"ffv1", true}},
      {FourCc("HFYU"), {"huffyuv", true}},       {FourCc("ULRG"), {"utvideo", true}},
      {FourCc("MJPG"), {"mjpeg", false}},        {FourCc("FMP4"), {"mpeg4", false}},
      {FourCc("H264"), {"h264", false}},
  };
  TempDir dir;
  constexpr int kCodecWidth = 70;
  constexpr int kCodecHeight = 42;
  constexpr int kCodecFrames = 12;
  const auto frames = MakeFrames(kCodecWidth, kCodecHeight, kCodecFrames, 3);
  WriteUprightRaw(dir.File("expected.raw"), frames, kCodecWidth, kCodecHeight);
  const auto expected_md5s = testing::FrameMd5s(RawInput(dir.File("expected.raw"), kCodecWidth, kCodecHeight), "bgr24");
  ASSERT_EQ(expected_md5s.size(), static_cast<size_t>(kCodecFrames));
  size_t tested = 0;
  for (const auto& entry : CompressorCatalogue::Instance().Entries()) {
    const auto known = expected.find(entry.fourcc);
    if (known == expected.end()) continue;
    SCOPED_TRACE(entry.description);
    ++tested;
    const std::string name = dir.File(FourCcText(entry.fourcc) + ".avi");
    {
      auto writer = CreateAviWriter(name, kCodecWidth, kCodecHeight, 1, 25, nullptr, SettingsFor(entry.fourcc));
      ASSERT_NE(writer, nullptr);
      EXPECT_EQ(writer->compressing(), entry.create != nullptr);
      for (const auto& frame : frames) ASSERT_EQ(writer->WriteRaw(frame.data()), AviWriter::kOk);
      ASSERT_EQ(writer->Close(), AviWriter::kOk);
    }
    const testing::ProbedVideo probed = testing::ProbeVideo(name);
    EXPECT_EQ(probed.codec, known->second.first);
    EXPECT_EQ(probed.width, kCodecWidth);
    EXPECT_EQ(probed.height, kCodecHeight);
    EXPECT_EQ(probed.frames, kCodecFrames);
    const auto md5s = testing::FrameMd5s("-i '" + name + "'", "bgr24");
    EXPECT_EQ(md5s.size(), static_cast<size_t>(kCodecFrames));
    const auto read_back = ReadBack(name);
    EXPECT_EQ(read_back.size(), static_cast<size_t>(kCodecFrames));
    if (known->second.second) {
      EXPECT_EQ(md5s, expected_md5s);
      EXPECT_EQ(read_back, frames);
    }
  }
  EXPECT_EQ(tested, CompressorCatalogue::Instance().Entries().size());
}

// A stored state may name any option of the encoder, its picture size among them; the frames handed in keep the
// writer's size whatever it says, and a pixel format it names is converted to.
TEST(AviWriterTest, EncoderStateCannotChangeThePictureSize) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  CompressorSettings settings = SettingsFor(FourCc("HFYU"));
  settings.SetStateText("video_size=640x480:pixel_format=bgra");
  const auto frames = MakeFrames(32, 16, 3, 5);
  const std::string name = dir.File("state.avi");
  {
    auto writer = CreateAviWriter(name, 32, 16, 1, 25, nullptr, settings);
    ASSERT_NE(writer, nullptr);
    ASSERT_TRUE(writer->compressing());
    for (const auto& frame : frames) ASSERT_EQ(writer->WriteRaw(frame.data()), AviWriter::kOk);
  }
  const testing::ProbedVideo probed = testing::ProbeVideo(name);
  EXPECT_EQ(probed.width, 32);
  EXPECT_EQ(probed.height, 16);
  EXPECT_EQ(probed.frames, 3);
  WriteUprightRaw(dir.File("expected.raw"), frames, 32, 16);
  EXPECT_EQ(testing::FrameMd5s("-i '" + name + "'", "bgr24"),
            testing::FrameMd5s(RawInput(dir.File("expected.raw"), 32, 16), "bgr24"));
}

// The audio of an input AVI, copied sample by sample beside the frames, comes out byte for byte.
TEST(AviWriterTest, SecondaryPcmStreamIsCopiedByteForByte) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  testing::AviBuilder builder;
  const int video = builder.AddVideoStream(16, 8, std::string(4, '\0'), 24);
  const int audio = builder.AddAudioStream(2, 8000, 16);
  std::vector<uint8_t> audio_bytes;
  for (uint32_t n = 0; n < 8; ++n) {
    builder.AddSample(video, std::vector<uint8_t>(384, 0));
    std::vector<uint8_t> chunk = testing::PatternBytes(1280 + 4 * n, n + 1);  // larger than a frame of 16 x 8
    audio_bytes.insert(audio_bytes.end(), chunk.begin(), chunk.end());
    builder.AddSample(audio, std::move(chunk));
  }
  builder.Write(dir.File("input.avi"), testing::AviIndexLayout::kClassicRelative);
  AviContainer input;
  ASSERT_TRUE(input.Open(dir.File("input.avi")));
  const std::string name = dir.File("with_audio.avi");
  const auto frames = MakeFrames(16, 8, 8, 4);
  for (const uint32_t fourcc : {kUncompressedFourCc, FourCc("FFV1")}) {
    VideoOutput output;
    output.SetSecondarySource(input.AudioStream(0));
    ASSERT_TRUE(output.OpenWithSettings(name, 16, 8, 1, 25, SettingsFor(fourcc)));
    for (const auto& frame : frames) ASSERT_TRUE(output.Write(frame.data()));
    EXPECT_EQ(output.frames_written(), 8);
    output.Close();
    ASSERT_TRUE(testing::RunFfmpeg("-i '" + name + "' -map 0:a -c copy -f data '" + dir.File("audio.bin") + "'"));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("audio.bin")), audio_bytes);
    EXPECT_EQ(testing::ProbeVideo(name).frames, 8);
  }
}

TEST(AviWriterTest, VideoOutputPicksTheWriterByNameAndRefusesASecondOpen) {
  TempDir dir;
  VideoOutput output;
  ASSERT_TRUE(output.OpenByName(dir.File("picture.BMP"), 6, 2));
  EXPECT_FALSE(output.OpenByName(dir.File("other.avi"), 6, 2));
  EXPECT_EQ(output.error(), VideoOutput::kAlreadyOpen);
  const std::vector<uint8_t> pixels(40, 9);
  ASSERT_TRUE(output.Write(pixels.data()));
  EXPECT_FALSE(output.Write(nullptr));
  EXPECT_EQ(output.error(), VideoOutput::kWriterFailed);
  EXPECT_EQ(output.last_writer_status(), 3);
  EXPECT_EQ(output.frames_written(), 1);
  output.Close();
  EXPECT_EQ(std::filesystem::file_size(dir.File("picture.BMP")), 94u);
  EXPECT_FALSE(output.OpenByName(dir.File("zero.bmp"), 0, 2));
  EXPECT_EQ(output.error(), VideoOutput::kWriterFailed);
  ASSERT_TRUE(output.OpenByName(dir.File("clip.avi"), 6, 2));
  ASSERT_TRUE(output.Write(pixels.data()));
  output.Close();
  AviContainer container;
  ASSERT_TRUE(container.Open(dir.File("clip.avi")));
  ASSERT_NE(container.VideoStream(0), nullptr);
  EXPECT_EQ(container.VideoStream(0)->Header().scale, 100u);
  EXPECT_EQ(container.VideoStream(0)->Header().rate, 2997u);
}

}  // namespace
}  // namespace vidmetra
