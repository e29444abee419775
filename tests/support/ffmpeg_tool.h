#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vidmetra::testing {

// Interoperability tests run the `ffmpeg` program to make files nobody here wrote and to say what
// it reads from them.
bool FfmpegAvailable();
// Runs `ffmpeg -nostdin -v error -y <arguments>`; true when it exits with status 0.
bool RunFfmpeg(const std::string& arguments);
// Whether this ffmpeg can encode with `encoder` (libx264, libvpx-vp9, ...): Debian's builds differ in what they
// carry.
bool HaveFfmpegEncoder(const std::string& encoder);

// One packet line of FFmpeg's framecrc output.
struct FramecrcPacket {
  int64_t size = 0;
  uint32_t checksum = 0;
  bool key_frame = true;
};

// The packets FFmpeg demuxes from one stream of `input` without decoding them (`-c copy`);
// `stream` is a map specifier such as "0:v:0". Empty when FFmpeg fails.
std::vector<FramecrcPacket> DemuxedPackets(const std::string& input, const std::string& stream,
                                           const std::string& scratch_file);
// The checksum framecrc prints for a packet (Adler-32 started from 0).
uint32_t FramecrcChecksum(std::span<const uint8_t> bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

}  // namespace vidmetra::testing
