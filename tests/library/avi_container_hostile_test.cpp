// Files that lie about their structure: every one must end in a failed open or a skipped entry,
// never in a crash, a hang or an allocation beyond what the file holds.
#include "vidmetra/avi_container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string_view>

#include "support/avi_builder.h"
#include "support/riff_writer.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::AviBuilder;
using testing::AviIndexLayout;
using testing::PatternBytes;
using testing::BeginMinimalHeaderList;
using testing::RiffWriter;
using testing::StoreLe32;
using testing::StoreLe64;

constexpr size_t kHostileFrameBytes = 96;

AviBuilder Clip(size_t frames, bool with_audio = false) {
  AviBuilder builder;
  const int video = builder.AddVideoStream(8, 4, std::string(4, '\0'), 24);
  const int audio = with_audio ? builder.AddAudioStream(1, 8000, 8) : -1;
  for (size_t i = 0; i < frames; ++i) {
    builder.AddSample(video, PatternBytes(kHostileFrameBytes, static_cast<uint32_t>(i)), i % 4 == 0);
    if (audio >= 0) builder.AddSample(audio, PatternBytes(7 + i, static_cast<uint32_t>(1000 + i)));
  }
  return builder;
}

// Offset of the n-th chunk header with this id (searched as bytes, good enough for built files).
size_t FindChunk(const std::vector<uint8_t>& bytes, std::string_view id, int nth = 0) {
  auto at = bytes.begin();
  for (;; ++at) {
    at = std::search(at, bytes.end(), id.begin(), id.end());
    if (at == bytes.end()) ADD_FAILURE() << "no chunk " << id;
    if (at == bytes.end() || nth-- == 0) return static_cast<size_t>(at - bytes.begin());
  }
}

class AviHostileTest : public ::testing::Test {
 protected:
  bool OpenBytes(const std::vector<uint8_t>& bytes) {
    testing::WriteBytes(path_, bytes);
    return container_.Open(path_);
  }

  // Whatever the container accepted, every sample it claims must be served or refused cleanly.
  void ReadEverything() {
    for (int32_t s = 0; s < container_.StreamCount(); ++s) {
      ContainerStream* stream = container_.Stream(s);
      if (!stream) continue;
      EXPECT_LE(static_cast<uint64_t>(stream->FormatSize()), file_size());
      std::vector<uint8_t> buffer;
      for (int64_t n = stream->Start(); n <= stream->End(); ++n) {
        int64_t size = 0;
        stream->Read(n, nullptr, 0, size);
        buffer.resize(static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(size), file_size())));
        stream->Read(n, buffer.data(), static_cast<int64_t>(buffer.size()), size);
        stream->IsKeyFrame(n);
      }
    }
  }

  uint64_t file_size() const { return std::filesystem::file_size(path_); }

  vidmetra::testing::TempDir dir_;
  std::string path_ = dir_.File("hostile.avi");
  AviContainer container_;
};

TEST_F(AviHostileTest, NotAnAviFileFails) {
  EXPECT_FALSE(OpenBytes({}));
  EXPECT_FALSE(OpenBytes({'R', 'I', 'F', 'F'}));
  std::vector<uint8_t> wave = Clip(1).Build(AviIndexLayout::kClassicRelative);
  std::memcpy(wave.data() + 8, "WAVE", 4);
  EXPECT_FALSE(OpenBytes(wave));
  std::vector<uint8_t> no_riff = Clip(1).Build(AviIndexLayout::kClassicRelative);
  std::memcpy(no_riff.data(), "JUNK", 4);
  EXPECT_FALSE(OpenBytes(no_riff));
}

TEST_F(AviHostileTest, ChunkLargerThanItsListIsClampedToTheList) {
  std::vector<uint8_t> bytes = Clip(3).Build(AviIndexLayout::kClassicRelative);
  StoreLe32(bytes, FindChunk(bytes, "strf") + 4, 0xC0000000u);  // a format of gigabytes
  EXPECT_TRUE(OpenBytes(bytes));
  ASSERT_NE(container_.VideoStream(0), nullptr);
  // The format swallowed the rest of its stream list, no more.
  EXPECT_LT(static_cast<uint64_t>(container_.VideoStream(0)->FormatSize()), 200u);
  ReadEverything();
}

TEST_F(AviHostileTest, RiffLargerThanTheFileIsClampedToTheFile) {
  std::vector<uint8_t> bytes = Clip(3).Build(AviIndexLayout::kClassicAbsolute);
  StoreLe32(bytes, 4, 0xFFFFFFFFu);
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 3);
}

TEST_F(AviHostileTest, MaximalSizesNeverWrapAPosition) {
  for (std::string_view id : {"LIST", "avih", "strh", "strf", "idx1"}) {
    for (int nth = 0; nth < 2; ++nth) {
      std::vector<uint8_t> bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
      StoreLe32(bytes, FindChunk(bytes, id, id == "LIST" ? nth : 0) + 4, 0xFFFFFFFFu);
      OpenBytes(bytes);
      ReadEverything();
    }
  }
}

TEST_F(AviHostileTest, HeaderCountsReserveNoMoreThanTheFileJustifies) {
  AviBuilder builder;
  for (int s = 0; s < 20; ++s) builder.AddSample(builder.AddAudioStream(1, 8000, 8), {1, 2, 3});
  builder.Stream(0).samples[0] = PatternBytes(1 << 17, 1);  // room enough that every claim could be met alone
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kClassicRelative);
  StoreLe32(bytes, FindChunk(bytes, "avih") + 8 + 16, 0xFFFFFFFFu);  // total frames
  for (int s = 0; s < 20; ++s) StoreLe32(bytes, FindChunk(bytes, "strh", s) + 8 + 32, 0xFFFFFFFFu);  // length
  ASSERT_TRUE(OpenBytes(bytes));
  size_t reserved = 0;
  for (int32_t s = 0; s < container_.StreamCount(); ++s) {
    ASSERT_NE(container_.Stream(s), nullptr);
    EXPECT_EQ(container_.Stream(s)->Length(), 1);
    reserved += container_.Stream(s)->IndexCapacity();
  }
  // What the claims may reserve, plus one growth step for each stream that received an entry.
  EXPECT_LE(reserved, bytes.size() / 16 + 20 * kAviIndexGrowth);
}

TEST_F(AviHostileTest, ListShorterThanItsTypeFails) {
  std::vector<uint8_t> bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
  StoreLe32(bytes, FindChunk(bytes, "LIST") + 4, 3);
  EXPECT_FALSE(OpenBytes(bytes));
}

TEST_F(AviHostileTest, ListsNestedBeyondTheLimitFail) {
  for (size_t depth : {AviContainer::kMaxListDepth - 1, AviContainer::kMaxListDepth}) {
    RiffWriter riff;
    riff.BeginList("RIFF", "AVI ");
    for (size_t i = 0; i < depth; ++i) riff.BeginList("LIST", "odml");
    for (size_t i = 0; i <= depth; ++i) riff.End();
    // The form itself is one open list.
    EXPECT_EQ(OpenBytes(riff.Data()), depth + 1 <= AviContainer::kMaxListDepth) << depth;
  }
}

TEST_F(AviHostileTest, RepeatedEmptyChunksEndTheWalk) {
  RiffWriter riff;
  riff.BeginList("RIFF", "AVI ");
  for (int i = 0; i < 20000; ++i) riff.Chunk("JUNK", {});
  riff.End();
  for (int i = 0; i < 20000; ++i) riff.Chunk("JUNK", {});
  EXPECT_TRUE(OpenBytes(riff.Data()));
  EXPECT_EQ(container_.StreamCount(), 0);
}

TEST_F(AviHostileTest, StreamCountMustCoverTheStreamLists) {
  for (uint32_t streams : {0u, 5000u}) {
    RiffWriter riff;
    riff.BeginList("RIFF", "AVI ");
    BeginMinimalHeaderList(riff, streams, 0);
    riff.End();
    riff.End();
    riff.End();
    EXPECT_FALSE(OpenBytes(riff.Data())) << streams;
  }
}

TEST_F(AviHostileTest, StreamAnnouncedButNotDescribedIsNull) {
  RiffWriter riff;
  riff.BeginList("RIFF", "AVI ");
  BeginMinimalHeaderList(riff, 2, 0);
  riff.End();
  riff.End();
  riff.End();
  ASSERT_TRUE(OpenBytes(riff.Data()));
  EXPECT_EQ(container_.StreamCount(), 2);
  EXPECT_NE(container_.Stream(0), nullptr);
  EXPECT_EQ(container_.Stream(1), nullptr);
  EXPECT_EQ(container_.Stream(2), nullptr);
  EXPECT_EQ(container_.VideoStream(1), nullptr);
}

TEST_F(AviHostileTest, StreamHeadersMustAlternateWithFormats) {
  std::vector<uint8_t> bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
  std::memcpy(bytes.data() + FindChunk(bytes, "strf"), "strh", 4);  // strh, strh
  EXPECT_FALSE(OpenBytes(bytes));
  bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
  std::memcpy(bytes.data() + FindChunk(bytes, "strh"), "strf", 4);  // strf, strf
  EXPECT_FALSE(OpenBytes(bytes));
  bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
  std::memcpy(bytes.data() + FindChunk(bytes, "strf"), "JUNK", 4);  // strh without strf closes hdrl
  EXPECT_FALSE(OpenBytes(bytes));
}

TEST_F(AviHostileTest, SecondMainHeaderFails) {
  std::vector<uint8_t> bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
  const size_t strl = FindChunk(bytes, "strl") - 8;
  // Replace the stream list by an avih of the same size: the header list then holds two.
  std::memcpy(bytes.data() + strl, "avih", 4);
  EXPECT_FALSE(OpenBytes(bytes));
}

TEST_F(AviHostileTest, ShortHeadersReadAsZeroPadded) {
  AviBuilder builder = Clip(2);
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kClassicRelative);
  // A 4-byte strh whose type survives; the rest of its 56 bytes become a JUNK chunk.
  const size_t strh = FindChunk(bytes, "strh");
  StoreLe32(bytes, strh + 4, 4);
  std::memcpy(bytes.data() + strh + 12, "JUNK", 4);
  StoreLe32(bytes, strh + 16, 56 - 4 - 8);
  ASSERT_TRUE(OpenBytes(bytes));
  ASSERT_NE(container_.VideoStream(0), nullptr);
  EXPECT_EQ(container_.VideoStream(0)->Length(), 2);
  EXPECT_EQ(container_.VideoStream(0)->Header().rate, 0u);
}

TEST_F(AviHostileTest, OddSizedChunksKeepTheirPadByte) {
  AviBuilder builder = Clip(3);
  builder.Stream(0).format.push_back(0x5A);  // 41 bytes
  builder.AddSample(0, PatternBytes(5, 99));
  ASSERT_TRUE(OpenBytes(builder.Build(AviIndexLayout::kOpenDml)));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->FormatSize(), 41);
  ASSERT_EQ(video->Length(), 4);
  std::vector<uint8_t> sample(5);
  int64_t read = 0;
  ASSERT_TRUE(video->Read(3, sample.data(), 5, read));
  EXPECT_EQ(sample, PatternBytes(5, 99));
}

TEST_F(AviHostileTest, IndexOfIndexesClaimingTooManyEntriesIsSkipped) {
  std::vector<uint8_t> bytes = Clip(20).Build(AviIndexLayout::kOpenDmlWithClassic);
  StoreLe32(bytes, FindChunk(bytes, "indx") + 12, 0x10000000u);
  ASSERT_TRUE(OpenBytes(bytes));
  // The unusable indx leaves the classic index to serve (which halves every size in this file).
  ASSERT_EQ(container_.VideoStream(0)->Length(), 20);
  int64_t size = 0;
  container_.VideoStream(0)->Read(0, nullptr, 0, size);
  EXPECT_EQ(size, static_cast<int64_t>(kHostileFrameBytes / 2));
}

TEST_F(AviHostileTest, IndexEntrySizeOfZeroIsSkipped) {
  std::vector<uint8_t> bytes = Clip(4).Build(AviIndexLayout::kOpenDml);
  bytes[FindChunk(bytes, "indx") + 8] = 0;
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 0);
}

TEST_F(AviHostileTest, StandardIndexClaimingTooManyEntriesIsSkipped) {
  AviBuilder builder = Clip(20);
  builder.SetEntriesPerStandardIndex(8);
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kOpenDml);
  StoreLe32(bytes, FindChunk(bytes, "ix00", 1) + 12, 9);
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 12);
}

TEST_F(AviHostileTest, SuperIndexEntriesOutsideTheFileOrOnThemselvesAreSkipped) {
  AviBuilder builder = Clip(20);
  builder.SetEntriesPerStandardIndex(8);  // three ix00 chunks
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kOpenDml);
  const size_t indx = FindChunk(bytes, "indx");
  const size_t entries = indx + 8 + 24;
  StoreLe64(bytes, entries, uint64_t{1} << 62);
  StoreLe64(bytes, entries + 16, indx);
  ASSERT_TRUE(OpenBytes(bytes));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_EQ(video->Length(), 4);
  std::vector<uint8_t> sample(kHostileFrameBytes);
  int64_t read = 0;
  ASSERT_TRUE(video->Read(0, sample.data(), kHostileFrameBytes, read));
  EXPECT_EQ(sample, PatternBytes(kHostileFrameBytes, 16));
  StoreLe64(bytes, entries + 32, ~uint64_t{0} - 4);  // adding the header size would wrap
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 0);
}

// A super index naming one 64-entry standard index `repeats` times.
std::vector<uint8_t> RepeatedStandardIndexFile(uint32_t repeats) {
  RiffWriter riff;
  riff.BeginList("RIFF", "AVI ");
  BeginMinimalHeaderList(riff, 1, 0);
  riff.Begin("indx");
  riff.U16(4);
  riff.U8(0);
  riff.U8(0);
  riff.U32(repeats);
  riff.Code("00dc");
  riff.Zeros(12);
  const size_t slots = riff.Size();
  riff.Zeros(16 * repeats);
  riff.End();
  riff.End();
  riff.End();
  riff.BeginList("LIST", "movi");
  const size_t ix = riff.Begin("ix00");
  riff.U16(2);
  riff.U8(0);
  riff.U8(1);
  riff.U32(64);
  riff.Code("00dc");
  riff.Zeros(12);
  for (int i = 0; i < 64; ++i) {
    riff.U32(100);
    riff.U32(1);
  }
  riff.End();
  riff.End();
  riff.End();
  for (uint32_t i = 0; i < repeats; ++i) riff.PatchU64(slots + 16 * i, ix);
  return riff.Data();
}

TEST_F(AviHostileTest, SuperIndexRepeatingOneStandardIndexIsBoundedByTheFile) {
  ASSERT_TRUE(OpenBytes(RepeatedStandardIndexFile(1)));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 64);
  EXPECT_FALSE(OpenBytes(RepeatedStandardIndexFile(1000)));
}

TEST_F(AviHostileTest, StandardIndexEntriesBeyondTheFileAreDropped) {
  AviBuilder builder = Clip(4);
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kOpenDml);
  const size_t ix = FindChunk(bytes, "ix00");
  StoreLe64(bytes, ix + 20, ~uint64_t{0} - 50);  // base offset + entry offset wraps
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 0);
  StoreLe64(bytes, ix + 20, bytes.size());  // every entry lies past the end
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 0);
}

TEST_F(AviHostileTest, ClassicIndexWithATrailingFragmentIgnoresIt) {
  std::vector<uint8_t> bytes = Clip(3).Build(AviIndexLayout::kClassicRelative);
  const size_t idx1 = FindChunk(bytes, "idx1");
  StoreLe32(bytes, idx1 + 4, 3 * 16 - 5);
  ASSERT_TRUE(OpenBytes(bytes));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 2);
}

TEST_F(AviHostileTest, ClassicIndexOffsetsBeyondTheFileFailTheRead) {
  std::vector<uint8_t> bytes = Clip(2).Build(AviIndexLayout::kClassicAbsolute);
  StoreLe32(bytes, FindChunk(bytes, "idx1") + 8 + 8, 0xFFFFFF00u);
  ASSERT_TRUE(OpenBytes(bytes));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_EQ(video->Length(), 2);
  std::vector<uint8_t> sample(kHostileFrameBytes);
  int64_t read = 0;
  EXPECT_FALSE(video->Read(0, sample.data(), kHostileFrameBytes, read));
  EXPECT_TRUE(video->Read(1, sample.data(), kHostileFrameBytes, read));
}

TEST_F(AviHostileTest, TruncatedFilesDeliverTheWholeSamplesTheyStillHold) {
  const std::vector<uint8_t> full = Clip(6, true).Build(AviIndexLayout::kOpenDml);
  for (size_t length = 0; length <= full.size(); ++length) {
    const std::vector<uint8_t> bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
    if (!OpenBytes(bytes)) continue;
    ReadEverything();
    ContainerStream* video = container_.VideoStream(0);
    if (!video) continue;
    std::vector<uint8_t> sample(kHostileFrameBytes);
    for (int64_t n = 0; n < video->Length(); ++n) {
      int64_t read = 0;
      if (video->Read(n, sample.data(), kHostileFrameBytes, read)) {
        EXPECT_EQ(sample, PatternBytes(kHostileFrameBytes, static_cast<uint32_t>(n))) << length << " " << n;
      }
    }
  }
}

TEST_F(AviHostileTest, RandomlyCorruptedFilesNeverBreakTheParser) {
  std::mt19937 random(20240611);
  const std::vector<uint8_t> originals[] = {
      Clip(5, true).Build(AviIndexLayout::kClassicRelative),
      Clip(5, true).Build(AviIndexLayout::kOpenDmlWithClassic),
      Clip(5).Build(AviIndexLayout::kOpenDmlDirect),
  };
  int opened = 0;
  for (const auto& original : originals) {
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> bytes = original;
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < flips; ++i) {
        const size_t at = random() % bytes.size();
        bytes[at] = random() % 2 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(0xFF);
      }
      if (OpenBytes(bytes)) ++opened;
      ReadEverything();
    }
  }
  // Most single-byte damage lands in sample data, which the parser does not look at.
  EXPECT_GT(opened, 300);
}

TEST_F(AviHostileTest, ExtensionFormsAfterTheFirstAreSteppedOver) {
  std::vector<uint8_t> bytes = Clip(2).Build(AviIndexLayout::kClassicRelative);
  RiffWriter riff;
  riff.Bytes(bytes);
  riff.BeginList("RIFF", "AVIX");
  riff.BeginList("LIST", "movi");
  riff.Chunk("00dc", PatternBytes(10, 1));
  riff.End();
  riff.End();
  ASSERT_TRUE(OpenBytes(riff.Data()));
  EXPECT_EQ(container_.VideoStream(0)->Length(), 2);
  std::vector<uint8_t> other = riff.Data();
  std::memcpy(other.data() + bytes.size() + 8, "AVI ", 4);  // a second primary form
  EXPECT_FALSE(OpenBytes(other));
}

}  // namespace
}  // namespace vidmetra
