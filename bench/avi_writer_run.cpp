// Writes the frames of a raw 24-bit bottom-up file into an AVI file through AviWriter, as the visualization
// output does: one frame buffer, one WriteRaw per frame. Driven by compare_ffmpeg_writer.sh.
//   avi_writer_run frames.bgr width height output.avi [FOURCC]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "vidmetra/avi_writer.h"
#include "vidmetra/colour_space.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s frames.bgr width height output.avi [FOURCC]\n", argv[0]);
    return 2;
  }
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  const std::string fourcc = argc > 5 ? argv[5] : "FFV1";
  vidmetra::CompressorSettings settings;
  if (fourcc.size() == 4) {
    settings.fcc_type = vidmetra::kVideoCompressorType;
    settings.fcc_handler = vidmetra::FourCc({fourcc[0], fourcc[1], fourcc[2], fourcc[3], '\0'});
  }
  auto writer = vidmetra::CreateAviWriter(argv[4], width, height, 1, 25, nullptr, settings);
  std::FILE* input = std::fopen(argv[1], "rb");
  if (writer == nullptr || input == nullptr) {
    std::fprintf(stderr, "avi_writer_run: cannot open %s or %s\n", argv[1], argv[4]);
    return 1;
  }
  std::vector<uint8_t> frame(static_cast<size_t>(vidmetra::RowBytes(vidmetra::kRgb24, width) * height));
  int status = 0;
  while (status == 0 && std::fread(frame.data(), 1, frame.size(), input) == frame.size()) {
    status = writer->WriteRaw(frame.data());
  }
  std::fclose(input);
  if (status == 0) status = writer->Close();
  if (status != 0) std::fprintf(stderr, "avi_writer_run: %s\n", writer->ErrorText(status).c_str());
  return status == 0 ? 0 : 1;
}
