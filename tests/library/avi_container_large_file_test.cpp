// Files beyond 4 GiB: the samples and their standard index sit past the 32-bit boundary, reached
// through an OpenDML index. The file is sparse, so only a few kilobytes are written.
#include "vidmetra/avi_container.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/avi_builder.h"
#include "support/riff_writer.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::PatternBytes;
using testing::RiffWriter;

constexpr uint32_t kFillerSize = 0xC0000000u;  // 3 GiB of extension form that nothing reads
constexpr size_t kLargeFrames = 3;
constexpr size_t kLargeFrameBytes = 48;

struct Piece {
  uint64_t offset;
  std::vector<uint8_t> bytes;
};

// The primary form: headers and a super index naming a standard index at `ix_offset`.
RiffWriter PrimaryForm(uint64_t ix_offset, uint32_t ix_size) {
  RiffWriter riff;
  riff.BeginList("RIFF", "AVI ");
  testing::BeginMinimalHeaderList(riff, 1, kLargeFrames);
  riff.Begin("indx");
  riff.U16(4);
  riff.U8(0);
  riff.U8(0);
  riff.U32(1);
  riff.Code("00dc");
  riff.Zeros(12);
  riff.U64(ix_offset);
  riff.U32(ix_size);
  riff.U32(kLargeFrames);
  riff.End();
  riff.End();
  riff.End();
  riff.BeginList("LIST", "movi");
  riff.End();
  riff.End();
  return riff;
}

// An extension form placed at `at`: a movi list with the frames and their standard index.
RiffWriter ExtensionForm(uint64_t at, size_t& ix_in_form) {
  RiffWriter riff;
  riff.BeginList("RIFF", "AVIX");
  const uint64_t movi = at + riff.BeginList("LIST", "movi") + 8;
  std::vector<uint64_t> data_offsets;
  for (size_t i = 0; i < kLargeFrames; ++i) {
    data_offsets.push_back(at + riff.Size() + 8);
    riff.Chunk("00dc", PatternBytes(kLargeFrameBytes, static_cast<uint32_t>(i)));
  }
  ix_in_form = riff.Begin("ix00");
  riff.U16(2);
  riff.U8(0);
  riff.U8(1);
  riff.U32(kLargeFrames);
  riff.Code("00dc");
  riff.U64(movi);
  riff.U32(0);
  for (size_t i = 0; i < kLargeFrames; ++i) {
    riff.U32(static_cast<uint32_t>(data_offsets[i] - movi));
    riff.U32(static_cast<uint32_t>(kLargeFrameBytes) | (i == 0 ? 0 : 0x80000000u));
  }
  riff.End();
  riff.End();
  riff.End();
  return riff;
}

void WritePieces(const std::string& path, const std::vector<Piece>& pieces) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const Piece& piece : pieces) {
    out.seekp(static_cast<std::streamoff>(piece.offset));
    out.write(reinterpret_cast<const char*>(piece.bytes.data()), static_cast<std::streamsize>(piece.bytes.size()));
  }
  ASSERT_TRUE(out.good());
}

TEST(AviLargeFileTest, SamplesBeyondFourGibibytesAreIndexedAndRead) {
  vidmetra::testing::TempDir dir;
  if (std::filesystem::space(dir.path()).available < (uint64_t{8} << 30)) GTEST_SKIP() << "needs room for a sparse file";
  const uint64_t primary_size = PrimaryForm(0, 0).Size();
  std::vector<Piece> pieces;
  uint64_t at = primary_size;
  for (int i = 0; i < 2; ++i) {
    RiffWriter filler;
    filler.Code("RIFF");
    filler.U32(kFillerSize);
    filler.Code("AVIX");
    pieces.push_back({at, filler.Data()});
    at += 8 + kFillerSize;
  }
  ASSERT_GT(at, uint64_t{1} << 32);
  size_t ix_in_form = 0;
  RiffWriter extension = ExtensionForm(at, ix_in_form);
  constexpr uint32_t kIxChunkBytes = 8 + 24 + 8 * kLargeFrames;
  pieces.push_back({at, extension.Data()});
  pieces.push_back({0, PrimaryForm(at + ix_in_form, kIxChunkBytes).Data()});
  const std::string path = dir.File("large.avi");
  WritePieces(path, pieces);

  AviContainer container;
  ASSERT_TRUE(container.Open(path));
  ContainerStream* video = container.VideoStream(0);
  ASSERT_NE(video, nullptr);
  ASSERT_EQ(video->Length(), static_cast<int64_t>(kLargeFrames));
  EXPECT_TRUE(video->IsKeyFrame(0));
  EXPECT_FALSE(video->IsKeyFrame(1));
  for (size_t i = 0; i < kLargeFrames; ++i) {
    std::vector<uint8_t> sample(kLargeFrameBytes);
    int64_t read = 0;
    ASSERT_TRUE(video->Read(static_cast<int64_t>(i), sample.data(), kLargeFrameBytes, read));
    EXPECT_EQ(sample, PatternBytes(kLargeFrameBytes, static_cast<uint32_t>(i)));
  }
}

}  // namespace
}  // namespace vidmetra
