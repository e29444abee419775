#include "vidmetra/registry_text.h"

#include <gtest/gtest.h>

namespace vidmetra {
namespace {

RegistryValue Dword(uint32_t value) { return {RegistryValue::Type::kDword, value, {}}; }
RegistryValue Sz(std::string text) { return {RegistryValue::Type::kSz, 0, {std::move(text)}}; }
RegistryValue MultiSz(std::vector<std::string> texts) { return {RegistryValue::Type::kMultiSz, 0, std::move(texts)}; }

TEST(RegistryText, RoundTripsEveryKindAndCharacter) {
  RegistryValues values;
  values["metric"] = Dword(4294967295u);
  values["zero"] = Dword(0);
  values["path"] = Sz("C:\\video\\\"quoted\"\nnext\rline\ttab\x01\x7F end \xE2\x82\xAC");
  values["empty"] = Sz("");
  values["list"] = MultiSz({"one", "", "t,w\"o"});
  values["none"] = MultiSz({});
  const std::string text = FormatRegistryText(values);
  EXPECT_EQ(ParseRegistryText(text), values);
  // One line per value, readable as it stands.
  EXPECT_NE(text.find("metric=dword:4294967295\n"), std::string::npos);
  EXPECT_NE(text.find("empty=sz:\"\"\n"), std::string::npos);
  EXPECT_NE(text.find("list=multi_sz:\"one\",\"\",\"t,w\\\"o\"\n"), std::string::npos);
}

TEST(RegistryText, ToleratesBomCrLfBlanksAndComments) {
  const RegistryValues values = ParseRegistryText(
      "\xEF\xBB\xBF# comment\r\n; another\r\n[Software\\Zyr\\Vidmetra]\r\n\r\n  rad = dword: 30 \r\nname=sz:\"x\"");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values.at("rad"), Dword(30));
  EXPECT_EQ(values.at("name"), Sz("x"));
}

TEST(RegistryText, SkipsDamagedLinesOnly) {
  const std::string text = std::string("good=dword:1\n") +
                           "overflow=dword:4294967296\n" + "notnumber=dword:12abc\n" + "empty=dword:\n" +
                           "hex=dword:0x10\n" + "unterminated=sz:\"abc\n" + "trailing=sz:\"abc\" junk\n" +
                           "badescape=sz:\"a\\qb\"\n" + "zero=sz:\"a\\x00b\"\n" + "short=sz:\"a\\x4\"\n" +
                           "twotexts=sz:\"a\",\"b\"\n" + "unknown=qword:1\n" + "noequals\n" + "=dword:3\n" +
                           std::string("nul=dword:1\0\n", 13) + "listgap=multi_sz:\"a\",,\"b\"\n" +
                           "negative=dword:-1\n" + "toonegative=dword:-2147483649\n" + "last=sz:\"ok\\x41\"\n";
  const RegistryValues values = ParseRegistryText(text);
  EXPECT_EQ(values.size(), 3u);
  EXPECT_EQ(values.at("good"), Dword(1));
  EXPECT_EQ(values.at("negative"), Dword(4294967295u));
  EXPECT_EQ(values.at("last"), Sz("okA"));
}

TEST(RegistryText, LaterLinesWinAndNamesIgnoreCase) {
  const RegistryValues values = ParseRegistryText("Metric=dword:1\nMETRIC=sz:\"x\"\nmetric=dword:7\n");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values.at("metric"), Dword(7));
  EXPECT_EQ(values.count("mEtRiC"), 1u);
}

TEST(RegistryText, SurvivesArbitraryBytes) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 131 + i / 7) & 0xFF);
  const RegistryValues values = ParseRegistryText(noise + "\nafter=dword:5\n");
  EXPECT_EQ(values.at("after"), Dword(5));
}

}  // namespace
}  // namespace vidmetra
