#include "vidmetra/status_text.h"

#include <gtest/gtest.h>

namespace vidmetra {
namespace {

const StatusMessage kMessages[] = {{0, "No error occured!"}, {3, "Failed to read frame!"}};

TEST(StatusText, ReadAndWritePrefixes) {
  EXPECT_EQ(ReadErrorText("a.yuv", StatusReason(kMessages, 3), kTextCapacity),
            "Error when reading file \"a.yuv\": Failed to read frame!");
  EXPECT_EQ(WriteErrorText("out.avi", StatusReason(kMessages, 0), kTextCapacity),
            "Error when writing file \"out.avi\": No error occured!");
  EXPECT_EQ(ReadErrorText("", StatusReason(kMessages, 3), kTextCapacity), "Failed to read frame!");
}

TEST(StatusText, UnknownCodes) {
  EXPECT_EQ(ReadErrorText("x", StatusReason(kMessages, 42), kTextCapacity),
            "Error when reading file \"x\": Unrecognized error!");
}

TEST(StatusText, CutsToTheCapacityWithTerminator) {
  EXPECT_EQ(ReadErrorText("abc", "reason", 0), "");
  EXPECT_EQ(ReadErrorText("abc", "reason", 1), "");
  EXPECT_EQ(ReadErrorText("abc", "reason", 6), "Error");
  const std::string long_name(400, 'n');
  EXPECT_EQ(ReadErrorText(long_name, "reason", kTextCapacity).size(), kTextCapacity - 1);
}

TEST(StatusText, CountsUtf16CharactersAndNeverSplitsOne) {
  // "é" is one UTF-16 character in two UTF-8 bytes; "😀" is a surrogate pair in four.
  EXPECT_EQ(CutToCapacity("ééé", 3), "éé");
  EXPECT_EQ(CutToCapacity("a😀b", 3), "a");
  EXPECT_EQ(CutToCapacity("a😀b", 4), "a😀");
  EXPECT_EQ(CutToCapacity("ab\xE2", 10), "ab");  // a truncated sequence is dropped, not read past
}

}  // namespace
}  // namespace vidmetra
