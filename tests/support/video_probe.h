#pragma once
// What FFmpeg's own tools make of a video file: the independent peer of the writers' tests.
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra::testing {

struct ProbedVideo {
  std::string codec;  // ffprobe's codec_name
  int width = 0;
  int height = 0;
  int64_t frames = -1;  // packets counted by ffprobe
  int64_t length = -1;  // frames as the stream's header counts them, empty samples too
  std::string title;    // the stream's name
};

// The first video stream of `file` as ffprobe reports it; frames -1 when ffprobe fails.
ProbedVideo ProbeVideo(const std::string& file);
// The time stamp of each packet of the first video stream of `file`, in the stream's time base; empty when
// ffprobe fails.
std::vector<int64_t> PacketTimes(const std::string& file);
// The MD5 of every decoded frame of the input that `input_arguments` names ("-i file", input options before it),
// converted to `pixel_format`; empty when ffmpeg fails.
std::vector<std::string> FrameMd5s(const std::string& input_arguments, const std::string& pixel_format);

}  // namespace vidmetra::testing
