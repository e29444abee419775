// vidmetra-cli --plot on a real comparative run of two codecs: the curves in the picture must sit where the CSV
// values put them, read back with the plot's frame found from the picture alone.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "plot_colours.h"
#include "support/byte_files.h"
#include "support/command.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::RunCommand;

// Rows (or columns) where black runs across at least `share` of the picture's other dimension.
std::vector<int> BlackLines(const QImage& image, bool rows, double share) {
  std::vector<int> lines;
  const int count = rows ? image.height() : image.width();
  const int length = rows ? image.width() : image.height();
  for (int i = 0; i < count; ++i) {
    int black = 0;
    for (int j = 0; j < length; ++j) {
      black += (rows ? image.pixelColor(j, i) : image.pixelColor(i, j)) == QColor(Qt::black) ? 1 : 0;
    }
    if (black >= share * length) lines.push_back(i);
  }
  return lines;
}

// The per-frame columns of a comparative CSV file: the four header lines, then one line per frame.
std::vector<std::vector<double>> CsvColumns(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  std::vector<std::vector<double>> columns;
  for (int row = 0; std::getline(lines, line); ++row) {
    if (row < 4) continue;
    std::istringstream cells(line);
    std::string cell;
    for (size_t column = 0; std::getline(cells, cell, ','); ++column) {
      if (columns.size() <= column) columns.resize(column + 1);
      columns[column].push_back(std::stod(cell));
    }
  }
  return columns;
}

TEST(CliPlot, CurvesOfATwoCodecRunMatchTheCsv) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "no ffmpeg program";
  testing::TempDir dir;
  const std::string original = dir.File("original.yuv");
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc2=size=176x144:rate=25:duration=2.4 -pix_fmt yuv420p -f rawvideo " + original));
  for (const std::string codec : {"mjpeg -q:v 14", "mpeg4 -q:v 6 -g 12"}) {
    const std::string name = codec.substr(0, codec.find(' '));
    ASSERT_TRUE(testing::RunFfmpeg("-f rawvideo -pix_fmt yuv420p -s 176x144 -i " + original + " -c:v " + codec + " " +
                                   dir.File(name + ".avi")));
  }
  const std::string plot = dir.File("plot.png");
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(VIDMETRA_CLI) +
                              " -q -s 176x144 " + original + " " + dir.File("mjpeg.avi") + " " +
                              dir.File("mpeg4.avi") + " --csv " + dir.path().string() + " --csv-name run.csv" +
                              " --plot " + plot + " --plot-size 1200x500 2>" + dir.File("stderr.txt");
  ASSERT_EQ(RunCommand(command).exit_code, 0) << testing::ReadText(dir.File("stderr.txt"));
  EXPECT_EQ(testing::ReadText(dir.File("stderr.txt")), "");
  const std::vector<std::vector<double>> columns = CsvColumns(testing::ReadText(dir.File("run.csv")));
  ASSERT_EQ(columns.size(), 2u);
  ASSERT_EQ(columns[0].size(), 60u);

  const QImage image = QImage(QString::fromStdString(plot)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(1200, 500));
  // The plot area: the black lines of the lowest and highest value across it, the black lines of the first and
  // last frame down it.
  const std::vector<int> rows = BlackLines(image, true, 0.5);
  const std::vector<int> verticals = BlackLines(image, false, 0.5);
  ASSERT_GE(rows.size(), 2u);
  ASSERT_GE(verticals.size(), 2u);
  const int top = rows.front(), bottom = rows.back(), left = verticals.front(), right = verticals.back();
  ASSERT_GT(right - left, 900);
  ASSERT_GT(bottom - top, 300);
  double minimum = columns[0][0], maximum = columns[0][0];
  for (const auto& column : columns) {
    for (const double value : column) {
      minimum = std::min(minimum, value);
      maximum = std::max(maximum, value);
    }
  }
  const int frames = static_cast<int>(columns[0].size());
  int checked = 0, found = 0;
  for (size_t input = 1; input <= 2; ++input) {
    const QColor colour = plot::InputColour(static_cast<int32_t>(input));
    for (int frame = 1; frame + 1 < frames; ++frame) {
      const int x = left + frame * (right - left) / (frames - 1);
      const double y = bottom - (columns[input - 1][static_cast<size_t>(frame)] - minimum) * (bottom - top) / (maximum - minimum);
      // The legend box covers the top right corner of the plot.
      if (x > right - 260 && y < top + 100) continue;
      ++checked;
      double nearest = 1e9;
      for (int row = top; row <= bottom; ++row) {
        if (image.pixelColor(x, row) == colour) nearest = std::min(nearest, std::fabs(row - y));
      }
      found += nearest <= 2.0 ? 1 : 0;
      EXPECT_LE(nearest, 2.0) << "input " << input << " frame " << frame;
    }
  }
  EXPECT_GT(checked, 2 * (frames - 2) * 3 / 4);
  EXPECT_EQ(found, checked);
}

TEST(CliPlot, BadSizeIsAUsageErrorAndAnUnwritableFileFailsTheRun) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("a.yuv"), std::vector<uint8_t>(16 * 16 * 3 / 2 * 3, 100));
  testing::WriteBytes(dir.File("b.yuv"), std::vector<uint8_t>(16 * 16 * 3 / 2 * 3, 104));
  const std::string base = std::string(VIDMETRA_CLI) + " -q -s 16x16 " + dir.File("a.yuv") + " " + dir.File("b.yuv");
  EXPECT_EQ(RunCommand(base + " --plot " + dir.File("p.png") + " --plot-size 12 2>/dev/null").exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir.File("p.png")));
  EXPECT_EQ(RunCommand(base + " --plot " + dir.File("none/p.png") + " 2>" + dir.File("err.txt")).exit_code, 1);
  EXPECT_NE(testing::ReadText(dir.File("err.txt")).find("no plot"), std::string::npos);
  EXPECT_EQ(RunCommand(base + " --plot " + dir.File("p.png") + " 2>/dev/null").exit_code, 0);
  EXPECT_EQ(QImage(QString::fromStdString(dir.File("p.png"))).size(), QSize(1600, 600));
}

}  // namespace
}  // namespace vidmetra
