#include "vidmetra/registry_key.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/byte_files.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

std::string Repeat(std::string_view piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

TEST(RegistryKey, MissingKeyStartsEmptyWithItsFolders) {
  TempDir dir;
  const std::filesystem::path location = dir.path() / "config" / "Zyr" / "Vidmetra.reg";
  RegistryKey key;
  ASSERT_TRUE(key.Open(location));
  EXPECT_TRUE(key.values().empty());
  EXPECT_TRUE(std::filesystem::is_directory(location.parent_path()));
  EXPECT_FALSE(std::filesystem::exists(location));
}

TEST(RegistryKey, SavesAtomicallyAndReadsBack) {
  TempDir dir;
  const std::filesystem::path location = dir.path() / "Vidmetra.reg";
  WriteText(location.string(), "old=dword:1\n");
  RegistryKey key;
  ASSERT_TRUE(key.Open(location));
  key.SetDword("count", 12);
  key.SetText("folder", std::string("/tmp/a\0ignored", 14));
  ASSERT_TRUE(key.Save());
  // Only the key itself is left: the temporary file was renamed over it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  RegistryKey again;
  ASSERT_TRUE(again.Open(location));
  EXPECT_EQ(again.Dword("old"), 1u);
  EXPECT_EQ(again.Dword("COUNT"), 12u);
  EXPECT_EQ(again.Text("folder", 260), "/tmp/a");
}

TEST(RegistryKey, KindsAreKeptApart) {
  TempDir dir;
  const std::string location = dir.File("k.reg");
  WriteText(location, "n=dword:3\nt=sz:\"3\"\nm=multi_sz:\"first\",\"second\"\nempty=multi_sz:\n");
  RegistryKey key;
  ASSERT_TRUE(key.Open(location));
  EXPECT_EQ(key.Dword("n"), 3u);
  EXPECT_EQ(key.Dword("t"), std::nullopt);
  EXPECT_EQ(key.Dword("m"), std::nullopt);
  EXPECT_EQ(key.Text("n", 260), std::nullopt);
  EXPECT_EQ(key.Text("t", 260), "3");
  EXPECT_EQ(key.Text("m", 260), "first");
  EXPECT_EQ(key.Text("empty", 260), "");
  EXPECT_EQ(key.Dword("absent"), std::nullopt);
  EXPECT_EQ(key.Text("absent", 260), std::nullopt);
}

TEST(RegistryKey, TextsMustFitTheBufferWithTheirTerminators) {
  TempDir dir;
  RegistryKey key;
  ASSERT_TRUE(key.Open(dir.File("k.reg")));
  key.SetText("fits", std::string(259, 'a'));
  key.SetText("long", std::string(260, 'a'));
  key.SetText("euro", Repeat("\xE2\x82\xAC", 259));  // one UTF-16 character each
  key.SetText("emoji", Repeat("\xF0\x9F\x98\x80", 130));  // two UTF-16 characters each
  EXPECT_EQ(key.Text("fits", 260), std::string(259, 'a'));
  EXPECT_EQ(key.Text("long", 260), std::nullopt);
  EXPECT_TRUE(key.Text("euro", 260).has_value());
  EXPECT_EQ(key.Text("emoji", 260), std::nullopt);
  EXPECT_EQ(key.Text("fits", 0), std::nullopt);
}

TEST(RegistryKey, MultiStringsCountAllTheirData) {
  TempDir dir;
  const std::string location = dir.File("k.reg");
  // 200 + 1, 56 + 1 and the closing terminator: 259 characters; one more no longer fits.
  WriteText(location, "fits=multi_sz:\"" + std::string(200, 'a') + "\",\"" + std::string(56, 'b') + "\"\n" +
                          "long=multi_sz:\"" + std::string(200, 'a') + "\",\"" + std::string(58, 'b') + "\"\n");
  RegistryKey key;
  ASSERT_TRUE(key.Open(location));
  EXPECT_EQ(key.Text("fits", 260), std::string(200, 'a'));
  EXPECT_EQ(key.Text("long", 260), std::nullopt);
}

TEST(RegistryKey, RefusesUnusableLocations) {
  TempDir dir;
  RegistryKey key;
  EXPECT_FALSE(key.Open(dir.path()));  // a folder where the key should be
  EXPECT_FALSE(key.Open({}));
  const std::string blocker = dir.File("plain-file");
  WriteText(blocker, "x");
  EXPECT_FALSE(key.Open(std::filesystem::path(blocker) / "Zyr" / "Vidmetra.reg"));
  EXPECT_FALSE(key.Save());
  EXPECT_EQ(ReadText(blocker), "x");
}

TEST(RegistryKey, OversizedFilesKeepTheirCompleteLines) {
  TempDir dir;
  const std::string location = dir.File("k.reg");
  const size_t limit = size_t{1} << 20;
  const std::string first = "first=dword:1\n";
  // The last line crosses the limit after "cut=dword:123", which alone would read as a shorter number.
  const std::string text =
      first + std::string(limit - 13 - first.size() - 1, '#') + "\n" + "cut=dword:123456789\n";
  WriteText(location, text);
  RegistryKey key;
  ASSERT_TRUE(key.Open(location));
  EXPECT_EQ(key.Dword("first"), 1u);
  EXPECT_EQ(key.Dword("cut"), std::nullopt);
}

}  // namespace
}  // namespace vidmetra
