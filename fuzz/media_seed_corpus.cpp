// Writes the seed corpus of the media reader fuzzer into the directory given as argument: Y4M files of every
// layout the reader delivers, written here, and, where the ffmpeg program is installed, tiny files of the
// containers and bitstreams it reads.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "seed_corpus.h"
#include "support/byte_files.h"

namespace {

struct Y4m {
  const char* name;
  const char* colour;  // the header's C tag
  size_t frame_bytes;  // of an 8 x 4 picture
};

constexpr Y4m kY4ms[] = {
    {"y4m_420", "C420jpeg", 48}, {"y4m_422", "C422", 64},    {"y4m_444", "C444", 96},
    {"y4m_mono", "Cmono", 32},   {"y4m_420p10", "C420p10", 96},
};

struct Encoded {
  const char* name;  // with the ending that names the container
  const char* options;
};

constexpr Encoded kEncoded[] = {
    {"ffv1.mkv", "-c:v ffv1 -g 2"},
    {"h264_bframes.mkv", "-c:v libx264 -preset veryfast -x264-params bframes=2:keyint=3:open-gop=1"},
    {"h264_bframes.mp4", "-c:v libx264 -preset veryfast -x264-params bframes=2:keyint=3"},
    {"h264.ts", "-c:v libx264 -preset veryfast -x264-params keyint=3"},
    {"h264.264", "-c:v libx264 -preset veryfast -x264-params keyint=3"},
    {"vp9.ivf", "-c:v libvpx-vp9 -deadline realtime -g 3"},
    {"vp9.webm", "-c:v libvpx-vp9 -deadline realtime -g 3"},
    {"mjpeg.mov", "-c:v mjpeg"},
};

void WriteY4m(const std::filesystem::path& directory, const Y4m& seed) {
  std::string bytes = std::string("YUV4MPEG2 W8 H4 F25:1 Ip A1:1 ") + seed.colour + "\n";
  for (uint32_t n = 0; n < 3; ++n) {
    const std::vector<uint8_t> frame = vidmetra::testing::PatternBytes(seed.frame_bytes, n);
    bytes += "FRAME\n";
    bytes.append(frame.begin(), frame.end());
  }
  vidmetra::testing::WriteText((directory / (std::string(seed.name) + ".y4m")).string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  const std::filesystem::path& directory = *folder;
  for (const Y4m& seed : kY4ms) WriteY4m(directory, seed);
  if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) return 0;
  for (const Encoded& file : kEncoded) {
    const std::string command = std::string("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=16x16:rate=25") +
                                " -frames:v 5 -pix_fmt yuv420p " + file.options + " '" + (directory / file.name).string() + "'";
    if (std::system(command.c_str()) != 0) return 1;
  }
  return 0;
}
