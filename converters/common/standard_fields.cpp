#include "vidmetra/converters/standard_fields.h"

namespace vidmetra::converters {

FieldSpec NoteField(const std::string& text, bool same_row) {
  FieldSpec field(FieldKind::kNote, "", text);
  field.same_row = same_row;
  return field;
}

FieldSpec InputFolderField(const std::string& key, const std::string& label, const std::string& filter) {
  FieldSpec field(FieldKind::kFolderOfFile, key, label);
  field.help = "folder of the numbered input files, put before each name exactly as given (end it with /)";
  field.filter = filter;
  field.name_key = "name";
  return field;
}

FieldSpec OutputFolderField(const std::string& key, const std::string& label) {
  FieldSpec field(FieldKind::kFolder, key, label);
  field.help = "output folder, put before each name exactly as given (end it with /)";
  return field;
}

FieldSpec NameField(const std::string& label, const std::string& hint) {
  FieldSpec field(FieldKind::kText, "name", label);
  field.hint = hint;
  field.help = "file-name pattern; every (*) becomes the frame number";
  return field;
}

FieldSpec OpenFileField(const std::string& key, const std::string& label, const std::string& filter,
                        const std::string& help) {
  FieldSpec field(FieldKind::kOpenFile, key, label);
  field.help = help;
  field.filter = filter;
  return field;
}

FieldSpec SaveFileField(const std::string& key, const std::string& label, const std::string& filter,
                        const std::string& suffix, const std::string& help) {
  FieldSpec field(FieldKind::kSaveFile, key, label);
  field.help = help;
  field.filter = filter;
  field.default_suffix = suffix;
  return field;
}

FieldSpec NumberField(const std::string& key, const std::string& label, const std::string& help, bool same_row) {
  FieldSpec field(FieldKind::kNumber, key, label);
  field.help = help;
  field.same_row = same_row;
  return field;
}

FieldSpec SetButtonField(const std::string& key, const std::string& label, const std::string& value) {
  FieldSpec field(FieldKind::kSetButton, key, label);
  field.value = value;
  field.same_row = true;
  return field;
}

std::vector<FieldSpec> RangeFields(const std::string& all_label, const std::string& from_label,
                                   const std::string& to_label) {
  std::vector<FieldSpec> fields{NumberField("from", from_label, "first frame number"),
                                NumberField("to", to_label, "last frame number (inclusive)", true)};
  if (all_label.empty()) return fields;
  for (FieldSpec& field : fields) field.unless_flag = "all";
  FieldSpec all(FieldKind::kFlag, "all", all_label);
  all.help = "every frame, instead of --from and --to";
  all.same_row = true;
  fields.push_back(all);
  return fields;
}

FieldSpec DigitsField() {
  FieldSpec field =
      NumberField("digits", "通配符长度：", "placeholder length: numbers padded with zeros to it (0: none)");
  field.max_digits = 2;
  field.optional = true;
  return field;
}

std::vector<FieldSpec> SizeFields(const std::string& lead, const std::string& width_label,
                                  const std::string& height_label) {
  std::vector<FieldSpec> fields;
  if (!lead.empty()) fields.push_back(NoteField(lead));
  fields.push_back(NumberField("width", width_label, "frame width in pixels", !lead.empty()));
  fields.push_back(NumberField("height", height_label, "frame height in pixels", true));
  return fields;
}

std::vector<FieldSpec> NumberedBitmapFields() {
  return Fields(
      {{InputFolderField("dir", "BMP文件所在目录：", kBmpFilter), NameField("文件名：", "例如train(*),不含扩展名")},
       RangeFields("ALL"),
       {DigitsField()},
       SizeFields("图象尺寸：", "宽", "高")});
}

std::vector<FieldSpec> Fields(std::initializer_list<std::vector<FieldSpec>> groups) {
  std::vector<FieldSpec> fields;
  for (const auto& group : groups) fields.insert(fields.end(), group.begin(), group.end());
  return fields;
}

}  // namespace vidmetra::converters
