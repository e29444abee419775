#pragma once
// The fields the converters share, with the options every tool names the same way.
#include <string>
#include <vector>

#include "vidmetra/converters/tool_description.h"

namespace vidmetra::converters {

inline const std::string kPlaceholderNote = "通配符形式：默认插0，若不需要将通配符长度设为0即可。";
inline const std::string kBmpFilter = "位图文件(*.bmp)";
inline const std::string kSeqFilter = "SEQ序列文件(*.seq)";
inline const std::string kAviFilter = "AVI文件(*.avi)";
// The last frame number "all" stands for: numbered BMP inputs, and sequence or group-BMP inputs.
inline constexpr long long kAllNumberedFiles = 99999999;
inline constexpr long long kAllFileFrames = 9999;

FieldSpec NoteField(const std::string& text, bool same_row = false);
// A folder of numbered input files, filled from an open-file dialog together with the "name" field.
FieldSpec InputFolderField(const std::string& key, const std::string& label, const std::string& filter);
FieldSpec OutputFolderField(const std::string& key, const std::string& label);
FieldSpec NameField(const std::string& label, const std::string& hint);
FieldSpec OpenFileField(const std::string& key, const std::string& label, const std::string& filter,
                        const std::string& help);
FieldSpec SaveFileField(const std::string& key, const std::string& label, const std::string& filter,
                        const std::string& suffix, const std::string& help);
FieldSpec NumberField(const std::string& key, const std::string& label, const std::string& help, bool same_row = false);
// A button beside the field `key` that puts `value` into it.
FieldSpec SetButtonField(const std::string& key, const std::string& label, const std::string& value);
// "from:" and "to:" on one row, with the all-frames box when `all_label` is not empty.
std::vector<FieldSpec> RangeFields(const std::string& all_label = {},
                                   const std::string& from_label = "from:", const std::string& to_label = "to:");
FieldSpec DigitsField();
// Width and height on one row, after `lead` when it is not empty.
std::vector<FieldSpec> SizeFields(const std::string& lead, const std::string& width_label,
                                  const std::string& height_label);
// The inputs of the tools that take numbered bitmaps, every frame or a range: folder, name, range with "ALL",
// placeholder length and picture size.
std::vector<FieldSpec> NumberedBitmapFields();

// Appends the fields of every list in order.
std::vector<FieldSpec> Fields(std::initializer_list<std::vector<FieldSpec>> groups);

}  // namespace vidmetra::converters
