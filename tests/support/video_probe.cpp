#include "support/video_probe.h"

#include <sstream>

#include "support/command.h"

namespace vidmetra::testing {

ProbedVideo ProbeVideo(const std::string& file) {
  const CommandResult result = RunCommand(
      "ffprobe -v error -count_packets -select_streams v:0 -show_entries "
      "stream=codec_name,width,height,nb_frames,nb_read_packets:stream_tags=title -of default=noprint_wrappers=1 '" +
      file + "'");
  ProbedVideo video;
  if (result.exit_code != 0) return video;
  std::istringstream lines(result.output);
  for (std::string line; std::getline(lines, line);) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "codec_name") video.codec = value;
    if (key == "width") video.width = std::stoi(value);
    if (key == "height") video.height = std::stoi(value);
    if (key == "nb_read_packets") video.frames = std::stoll(value);
    if (key == "nb_frames" && value != "N/A") video.length = std::stoll(value);
    if (key == "TAG:title") video.title = value;
  }
  return video;
}

std::vector<int64_t> PacketTimes(const std::string& file) {
  const CommandResult result = RunCommand(
      "ffprobe -v error -select_streams v:0 -show_entries packet=pts -of csv=print_section=0 '" + file + "'");
  std::vector<int64_t> times;
  if (result.exit_code != 0) return times;
  std::istringstream lines(result.output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line != "N/A") times.push_back(std::stoll(line));
  }
  return times;
}

std::vector<std::string> FrameMd5s(const std::string& input_arguments, const std::string& pixel_format) {
  const CommandResult result = RunCommand("ffmpeg -nostdin -v error " + input_arguments + " -map 0:v:0 -pix_fmt " +
                                          pixel_format + " -f framemd5 -");
  std::vector<std::string> hashes;
  if (result.exit_code != 0) return hashes;
  std::istringstream lines(result.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t comma = line.rfind(',');
    if (comma != std::string::npos) hashes.push_back(line.substr(comma + 1 + (line[comma + 1] == ' ' ? 1 : 0)));
  }
  return hashes;
}

}  // namespace vidmetra::testing
