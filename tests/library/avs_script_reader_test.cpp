// AviSynth+ scripts read through the AVI reader: the clip a script returns, frame for frame as AviSynth+ itself
// hands it out. Runs where AviSynth+ was built (scripts/test.sh builds it from shared/third_party).
#include <gtest/gtest.h>

#include <cstring>

#include "support/avisynth_library.h"
#include "support/byte_files.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "vidmetra/avi_reader.h"
#include "vidmetra/avisynth_api.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"

namespace vidmetra {
namespace {

class AvsScriptReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = testing::BuiltAvisynthLibrary();
    if (library_.empty()) {
      GTEST_SKIP() << "AviSynth+ is not built: run shared/third_party/build-avisynthplus.sh or scripts/test.sh";
    }
    env_.emplace("VIDMETRA_AVISYNTH_LIBRARY", library_);
  }

  std::string Script(const std::string& name, const std::string& text) {
    const std::string path = dir_.File(name);
    testing::WriteText(path, text + "\n");
    return path;
  }

  // Frame n of the script's clip taken from AviSynth+ directly, laid out plane after plane (Y, V, U for 4:2:0)
  // with rows of exactly `row_bytes` and `rows` rows per plane.
  static std::vector<uint8_t> DirectFrame(const std::string& script, int n) {
    const AvisynthApi* api = LoadAvisynth();
    AvsScriptEnvironment* environment = api->create_script_environment(kAvsInterfaceVersion);
    AvsValue argument;
    argument.type = 's';
    argument.d.string = script.c_str();
    const AvsValue result = api->invoke(environment, "Import", argument, nullptr);
    AvsClip* clip = api->take_clip(result, environment);
    api->release_value(result);
    const AvsVideoInfo info = *api->get_video_info(clip);
    AvsVideoFrame* frame = api->get_frame(clip, n);
    std::vector<uint8_t> bytes;
    const bool planar = (static_cast<uint32_t>(info.pixel_type) & avs_pixel::kPlanar) != 0;
    const int planes[] = {planar ? kAvsPlaneY : 0, kAvsPlaneV, kAvsPlaneU};
    for (int i = 0; i < (planar ? 3 : 1); ++i) {
      const uint8_t* row = api->get_read_ptr_p(frame, planes[i]);
      const int row_size = api->get_row_size_p(frame, planes[i]);
      const int padded = planar ? row_size : (row_size + 3) / 4 * 4;
      for (int y = 0; y < api->get_height_p(frame, planes[i]); ++y, row += api->get_pitch_p(frame, planes[i])) {
        bytes.insert(bytes.end(), row, row + row_size);
        bytes.insert(bytes.end(), static_cast<size_t>(padded - row_size), 0);
      }
    }
    api->release_video_frame(frame);
    api->release_clip(clip);
    api->delete_script_environment(environment);
    return bytes;
  }

  std::string library_;
  std::optional<testing::ScopedEnv> env_;
  testing::TempDir dir_;
};

TEST_F(AvsScriptReaderTest, ScriptOfBuiltInFiltersOpensWithItsSizeAndFrames) {
  for (const char* type : {"YV12", "YUY2", "RGB24", "RGB32"}) {
    SCOPED_TRACE(type);
    const std::string script =
        Script(std::string("bars_") + type + ".avs",
               std::string("ColorBars(width=64, height=48, pixel_type=\"") + type + "\").Trim(0,49)");
    const auto reader = OpenSequenceReader(script, 0, 0, 0, true);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->Width(), 64);
    EXPECT_EQ(reader->Height(), 48);
    EXPECT_EQ(reader->FrameCount(), 50);
    EXPECT_TRUE(reader->Describe().ends_with(" raw stream"));
    std::vector<uint8_t> buffer(static_cast<size_t>(TightFrameBytes(reader->ColourSpace(), 64, 48)));
    for (const int n : {0, 49, 7}) {
      ASSERT_EQ(reader->ReadFrameRaw(buffer.data(), n), 0);
      EXPECT_EQ(buffer, DirectFrame(script, n)) << "frame " << n;
    }
  }
}

TEST_F(AvsScriptReaderTest, RgbComesBottomRowFirst) {
  const std::string script = Script(
      "halves.avs",
      "StackVertical(BlankClip(length=2, width=8, height=2, color=$FF0000, pixel_type=\"RGB24\"), "
      "BlankClip(length=2, width=8, height=2, color=$0000FF, pixel_type=\"RGB24\"))");
  AviReader reader;
  ASSERT_EQ(reader.Open(script, true, true), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kRgb24);
  std::vector<uint8_t> buffer(24 * 4);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
  // B, G, R of the first pixel of the first row delivered (the bottom, blue) and of the last (the top, red).
  EXPECT_EQ(buffer[0], 255);
  EXPECT_EQ(buffer[2], 0);
  EXPECT_EQ(buffer[72], 0);
  EXPECT_EQ(buffer[74], 255);
}

TEST_F(AvsScriptReaderTest, FailingScriptGives2WithAviSynthsOwnMessage) {
  const std::string script = Script("broken.avs", "ColorBars()\nNoSuchFilter(3)");
  AviReader reader;
  EXPECT_EQ(reader.Open(script, true, true), AviReader::kOpenFailed);
  EXPECT_TRUE(reader.FailureDetail().starts_with("AviSynth+: ")) << reader.FailureDetail();
  EXPECT_NE(reader.FailureDetail().find("NoSuchFilter"), std::string::npos) << reader.FailureDetail();
  std::string failure;
  EXPECT_EQ(OpenSequenceReader(script, 0, 0, 0, true, &failure), nullptr);
  EXPECT_EQ(failure, reader.ErrorText(2) + " (" + reader.FailureDetail() + ")");
}

// Without AviSynth+ every script fails the same way, whatever it says.
TEST(AvsWithoutAvisynthTest, OpenGives2AndThePartText) {
  testing::TempDir dir;
  const std::string script = dir.File("bars.avs");
  testing::WriteText(script, "ColorBars()\n");
  testing::ScopedEnv absent("VIDMETRA_AVISYNTH_LIBRARY", dir.File("no-such-libavisynth.so"));
  AviReader reader;
  EXPECT_EQ(reader.Open(script, true, true), AviReader::kOpenFailed);
  EXPECT_EQ(reader.ErrorText(2),
            "Error when reading file \"" + script +
                "\": Failed to open file! File is missed or corrupted or required codecs are not installed.");
  EXPECT_NE(reader.FailureDetail().find("AviSynth+ is not installed"), std::string::npos);
  EXPECT_EQ(OpenSequenceReader(script, 0, 0, 0, true), nullptr);
}

}  // namespace
}  // namespace vidmetra
