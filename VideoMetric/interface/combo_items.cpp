#include "combo_items.h"

#include "vidmetra/colour_space.h"

namespace vidmetra::ui {

const ComboItems& NameGenerationItems(bool with_custom) {
  static const ComboItems with{{"Prefix: <metric>_<video_name>", 0},
                               {"Postfix: <video_name>_<metric>", 1},
                               {"Custom (type below)", 2}};
  static const ComboItems without(with.begin(), with.begin() + 2);
  return with_custom ? with : without;
}

const ComboItems& CsvTypeItems() {
  static const ComboItems items{{"Type 1 (comma-separated)", 1}, {"Type 2 (semicolon-separated)", 0}};
  return items;
}

const ComboItems& CaptionPositionItems() {
  static const ComboItems items{
      {"Top-Left Corner", 0}, {"Top-Right Corner", 2}, {"Bottom-Left Corner", 1}, {"Bottom-Right Corner", 3}};
  return items;
}

const ComboItems& YuvColourModeItems() {
  static const ComboItems items{{"YV12", kYv12}, {"UYVY", kUyvy}, {"IYUV (I420)", kIyuv},
                                {"Y", kY},       {"YUV", kYuv},   {"YUY2", kYuy2}};
  return items;
}

void FillCombo(QComboBox& combo, const ComboItems& items) {
  combo.clear();
  for (const auto& [text, value] : items) combo.addItem(QString::fromUtf8(text), value);
  combo.setCurrentIndex(-1);
}

void SelectValue(QComboBox& combo, int32_t value) { combo.setCurrentIndex(combo.findData(value)); }

int32_t SelectedValue(const QComboBox& combo, int32_t fallback) {
  return combo.currentIndex() < 0 ? fallback : combo.currentData().toInt();
}

}  // namespace vidmetra::ui
