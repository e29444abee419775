// Writes the seed corpus of the AVI reader fuzzer into the directory given as argument: the container parser's
// seeds, stored RGB and YUV streams, and, where the ffmpeg program is installed, tiny compressed streams of the
// codecs researchers use.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "seed_corpus.h"
#include "support/avi_builder.h"
#include "support/avi_seeds.h"
#include "support/byte_files.h"

namespace {

struct Compressed {
  const char* name;
  const char* options;
};

constexpr Compressed kCompressed[] = {
    {"mjpeg", "-c:v mjpeg"},
    {"mpeg4_bframes", "-c:v mpeg4 -bf 2 -g 3"},
    {"h264_bframes", "-c:v libx264 -preset veryfast -x264-params bframes=2:keyint=3"},
    {"ffv1", "-c:v ffv1"},
    {"huffyuv", "-c:v huffyuv"},
    {"utvideo", "-c:v utvideo"},
};

void WriteStored(const std::filesystem::path& directory, const std::string& name, const std::string& code,
                 uint16_t bit_count, size_t frame_bytes) {
  vidmetra::testing::AviBuilder builder;
  const int stream = builder.AddVideoStream(8, 4, code, bit_count);
  for (uint32_t n = 0; n < 3; ++n) builder.AddSample(stream, vidmetra::testing::PatternBytes(frame_bytes, n));
  builder.Write((directory / (name + ".avi")).string(), vidmetra::testing::AviIndexLayout::kClassicRelative);
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  const std::filesystem::path& directory = *folder;
  vidmetra::fuzz::WriteSeeds(directory, vidmetra::testing::AviSeedFiles(), ".avi");
  WriteStored(directory, "stored_rgb24", std::string(4, '\0'), 24, 96);
  WriteStored(directory, "stored_rgb32", "DIB ", 32, 128);
  WriteStored(directory, "stored_yv12", "YV12", 12, 48);
  WriteStored(directory, "stored_yuy2", "YUY2", 16, 64);
  if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) return 0;
  for (const Compressed& codec : kCompressed) {
    const std::string command = std::string("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=16x16:rate=25") +
                                " -frames:v 5 " + codec.options + " '" + (directory / codec.name).string() + ".avi'";
    if (std::system(command.c_str()) != 0) return 1;
  }
  return 0;
}
