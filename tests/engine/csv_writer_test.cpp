#include "vidmetra/csv_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/temp_dir.h"
#include "vidmetra/output_name.h"

namespace vidmetra {
namespace {

const MetricCatalogue& Catalogue() {
  static const MetricCatalogue catalogue("/nonexistent/plugins");
  return catalogue;
}

int32_t Index(const std::string& name) { return *Catalogue().FindByName(name); }

InputFileEntry File(const std::string& path) { return {path, 0, 0, 0}; }

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class CsvWriterTest : public ::testing::Test {
 protected:
  CsvWriterTest() {
    settings.output_folder = dir.path().string();
    settings.separator = kCsvComma;
  }
  void AddPsnrSeries(int32_t id, const std::string& processed, std::vector<float> values) {
    store.AddSeries(id, {Index("psnr"), 0, {File("/v/orig.avi"), File(processed)}, "", ""});
    for (size_t i = 0; i < values.size(); ++i) store.AddValue(id, static_cast<int32_t>(i), values[i]);
  }
  testing::TempDir dir;
  CsvOutputSettings settings;
  ResultStore store;
};

TEST_F(CsvWriterTest, PsnrOnLumaByteForByte) {
  AddPsnrSeries(4, "/x/enc.avi", {40.5f, 100.0f, 38.25f});
  store.SetAverage(4, 45.12f);
  CsvWriter writer(settings, Catalogue());
  ASSERT_TRUE(writer.Write(store));
  EXPECT_EQ(writer.path(), dir.File("psnr_yyuv_orig_enc.csv"));
  EXPECT_EQ(ReadAll(writer.path()),
            "PSNR_YYUV\n/v/orig.avi\n/x/enc.avi\nAVG: 45.12000\n40.50000\n100.00000\n38.25000\n");
}

TEST_F(CsvWriterTest, TwoProcessedFilesShareTheMetricPartAndEarlyEndedSeriesLeaveEmptyCells) {
  AddPsnrSeries(1, "/x/enc.avi", {30.0f, 31.0f, 32.0f});
  AddPsnrSeries(2, "/y/enc2.yuv", {20.0f});
  store.SetAverage(1, 31.0f);
  CsvWriter writer(settings, Catalogue());
  EXPECT_EQ(writer.FileName(store), "psnr_yyuv_orig_enc_enc2.csv");
  EXPECT_EQ(writer.Contents(store),
            "PSNR_YYUV,PSNR_YYUV\n/v/orig.avi,/v/orig.avi\n/x/enc.avi,/y/enc2.yuv\nAVG: 31.00000,AVG: 0.00000\n"
            "30.00000,20.00000\n31.00000,\n32.00000,\n");
}

TEST_F(CsvWriterTest, NamingRules) {
  store.AddSeries(1, {Index("mse"), 1, {File("noext"), File("dir.d/enc.x.y")}, "", "diff"});
  settings.name_generation = kNamePostfix;
  EXPECT_EQ(CsvWriter(settings, Catalogue()).FileName(store), "noext_enc.x_mse_uyuv.csv");
  settings.name_generation = kNameCustom;
  settings.custom_name = "my results";
  EXPECT_EQ(CsvWriter(settings, Catalogue()).FileName(store), "my results");
  EXPECT_EQ(JoinFolder("/out", "a.csv"), JoinFolder("/out/", "a.csv"));
  EXPECT_EQ(JoinFolder("", "a.csv"), "a.csv");
  EXPECT_EQ(BaseNameOf("plain"), "plain");
  // A file whose name is all ending has an empty base name, which still takes its place in the join.
  ResultStore dot_files;
  dot_files.AddSeries(1, {Index("psnr"), 0, {File("/v/.yuv"), File("/x/enc.yuv")}, "", ""});
  settings.name_generation = kNamePrefix;
  EXPECT_EQ(CsvWriter(settings, Catalogue()).FileName(dot_files), "psnr_yyuv__enc.csv");
  EXPECT_EQ(CsvWriter(settings, Catalogue()).Contents(store).substr(0, 14), "MSE_diff_UYUV\n");
}

TEST_F(CsvWriterTest, SemicolonWithOneSeriesHasNoSeparatorAtAll) {
  AddPsnrSeries(1, "/x/enc.avi", {1.0f});
  settings.separator = kCsvSemicolon;
  const std::string text = CsvWriter(settings, Catalogue()).Contents(store);
  EXPECT_EQ(text.find(';'), std::string::npos);
  EXPECT_EQ(text.find(','), std::string::npos);
  AddPsnrSeries(2, "/x/enc2.avi", {1.0f});
  EXPECT_NE(CsvWriter(settings, Catalogue()).Contents(store).find("PSNR_YYUV;PSNR_YYUV\n"), std::string::npos);
}

TEST_F(CsvWriterTest, UnicodeIsUtf16LittleEndianWithoutMark) {
  AddPsnrSeries(1, "/x/énc.avi", {1.0f});
  settings.unicode = true;
  const std::string bytes = CsvWriter(settings, Catalogue()).Contents(store);
  EXPECT_NE(bytes.find(std::string("A\0V\0G\0:\0 \0", 10)), std::string::npos);
  EXPECT_EQ(bytes.substr(0, 2), std::string("P\0", 2));
  EXPECT_NE(bytes.find(std::string("\xE9\0", 2)), std::string::npos);
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
}

TEST_F(CsvWriterTest, UnwritableFolderFails) {
  AddPsnrSeries(1, "/x/enc.avi", {1.0f});
  settings.output_folder = dir.File("missing/deeper");
  CsvWriter writer(settings, Catalogue());
  EXPECT_FALSE(writer.Write(store));
  EXPECT_EQ(writer.path(), dir.File("missing/deeper/psnr_yyuv_orig_enc.csv"));
}

}  // namespace
}  // namespace vidmetra
