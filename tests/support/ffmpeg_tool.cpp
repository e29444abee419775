#include "support/ffmpeg_tool.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vidmetra::testing {

bool FfmpegAvailable() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

bool RunFfmpeg(const std::string& arguments) {
  return std::system(("ffmpeg -nostdin -v error -y " + arguments).c_str()) == 0;
}

bool HaveFfmpegEncoder(const std::string& encoder) {
  return RunFfmpeg("-f lavfi -i testsrc2=size=64x48:rate=25 -frames:v 1 -c:v " + encoder + " -f null -");
}

std::vector<FramecrcPacket> DemuxedPackets(const std::string& input, const std::string& stream,
                                           const std::string& scratch_file) {
  if (!RunFfmpeg("-i '" + input + "' -map " + stream + " -c copy -f framecrc '" + scratch_file + "'")) return {};
  std::ifstream in(scratch_file);
  std::vector<FramecrcPacket> packets;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    // stream, dts, pts, duration, size, checksum[, F=flags][, side data...]
    std::istringstream fields(line);
    std::string field;
    std::vector<std::string> parts;
    while (std::getline(fields, field, ',')) parts.push_back(field);
    if (parts.size() < 6) continue;
    FramecrcPacket packet;
    packet.size = std::stoll(parts[4]);
    packet.checksum = static_cast<uint32_t>(std::stoul(parts[5], nullptr, 16));
    for (size_t i = 6; i < parts.size(); ++i) {
      const auto flags = parts[i].find("F=");
      if (flags != std::string::npos) packet.key_frame = (std::stoul(parts[i].substr(flags + 2), nullptr, 16) & 1) != 0;
    }
    packets.push_back(packet);
  }
  return packets;
}

uint32_t FramecrcChecksum(std::span<const uint8_t> bytes) {
  constexpr uint32_t kModulus = 65521;
  // The largest run of bytes whose sums cannot overflow 32 bits before reduction.
  constexpr size_t kRun = 5552;
  uint32_t low = 0;
  uint32_t high = 0;
  while (!bytes.empty()) {
    const size_t run = std::min(kRun, bytes.size());
    for (uint8_t byte : bytes.first(run)) {
      low += byte;
      high += low;
    }
    low %= kModulus;
    high %= kModulus;
    bytes = bytes.subspan(run);
  }
  return high << 16 | low;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vidmetra::testing
