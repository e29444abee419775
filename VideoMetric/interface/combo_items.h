#pragma once
// The option lists of the dialogs: each item shows a text and carries the number the settings store. A stored
// value is shown by selecting the item that carries it; none is selected when no item does.
#include <QComboBox>
#include <cstdint>
#include <utility>
#include <vector>

namespace vidmetra::ui {

using ComboItems = std::vector<std::pair<const char*, int32_t>>;

const ComboItems& NameGenerationItems(bool with_custom);
const ComboItems& CsvTypeItems();
const ComboItems& CaptionPositionItems();
const ComboItems& YuvColourModeItems();

void FillCombo(QComboBox& combo, const ComboItems& items);
void SelectValue(QComboBox& combo, int32_t value);
// The value of the selected item; `fallback` when nothing is selected.
int32_t SelectedValue(const QComboBox& combo, int32_t fallback);

}  // namespace vidmetra::ui
