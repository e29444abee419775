#pragma once
// Runs the built vidmetra-cli on small raw clips in a folder of its own.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/byte_files.h"
#include "support/command.h"
#include "support/temp_dir.h"

namespace vidmetra {

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    WriteClip("orig.yuv", {10, 20, 30});
    WriteClip("enc.yuv", {12, 20, 29});
    WriteClip("short.yuv", {12});
  }
  // 16x16 IYUV frames of one luma level each, chroma 128.
  void WriteClip(const std::string& name, const std::vector<uint8_t>& levels) {
    std::ofstream file(dir.File(name), std::ios::binary);
    for (const uint8_t level : levels) {
      file << std::string(256, static_cast<char>(level)) << std::string(128, static_cast<char>(128));
    }
  }
  // `environment`: variable assignments ("NAME=value ...") for this run alone.
  testing::CommandResult Cli(const std::string& arguments, const std::string& environment = "") {
    return testing::RunCommand(environment + " " + std::string(VIDMETRA_CLI) + " " + arguments + " 2>" +
                               dir.File("stderr.txt"));
  }
  std::string Errors() { return testing::ReadText(dir.File("stderr.txt")); }
  std::string In(const std::string& name) { return dir.File(name); }
  testing::TempDir dir;
};

}  // namespace vidmetra
