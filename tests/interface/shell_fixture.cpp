#include "shell_fixture.h"

#include "support/byte_files.h"

namespace vidmetra::ui::testing {

const MetricCatalogue& BuiltInCatalogue() {
  static const MetricCatalogue catalogue("/nonexistent/plugins");
  return catalogue;
}

int32_t MetricIndex(const std::string& name) { return *BuiltInCatalogue().FindByName(name); }

ShellTest::ShellTest() : store_(dir_.path() / "settings.reg") {}

MainDialog& ShellTest::Open() {
  dialog_.reset();
  settings_ = MeasurementSettings{};
  dialog_ = std::make_unique<MainDialog>(BuiltInCatalogue(), settings_, store_, prompts_,
                                         ShellPaths{dir_.File("log.txt"), dir_.File("codec_config"), ""});
  return *dialog_;
}

void ShellTest::SelectMetric(const std::string& name) {
  QComboBox& metric = *dialog_->controls().metric;
  metric.setCurrentIndex(metric.findData(MetricIndex(name)));
}

void ShellTest::SetPath(size_t input, const std::string& path) {
  dialog_->controls().paths[input]->setText(QString::fromStdString(path));
}

std::string ShellTest::WriteYuv(const std::string& name, int frames, uint32_t seed) {
  std::vector<uint8_t> bytes;
  for (int frame = 0; frame < frames; ++frame) {
    const std::vector<uint8_t> picture =
        vidmetra::testing::PatternBytes(16 * 16 * 3 / 2, seed + static_cast<uint32_t>(frame));
    bytes.insert(bytes.end(), picture.begin(), picture.end());
  }
  const std::string path = dir_.File(name);
  vidmetra::testing::WriteBytes(path, bytes);
  return path;
}

}  // namespace vidmetra::ui::testing
