#pragma once
// What a converter is, independent of how it is driven: its fields (the dialog's widgets and, under the same
// names, the command line's options), its action and the conversion the action runs. The dialog frame and the
// command-line frame are both built from this one description.
#include <functional>
#include <string>
#include <vector>

#include "vidmetra/converters/field_values.h"
#include "vidmetra/converters/run_progress.h"

namespace vidmetra::converters {

inline const std::string kOkMessage = "ok!";

enum class FieldKind {
  kText,
  kNumber,
  kFlag,
  kFolderOfFile,  // a folder field filled from an open-file dialog (its file name may fill a name field)
  kFolder,        // an output folder chosen as a folder
  kOpenFile,
  kSaveFile,
  kNote,       // a line of text only
  kSetButton,  // a button that puts `value` into the field `key`
};

struct FieldSpec {
  FieldSpec(FieldKind field_kind, std::string field_key, std::string field_label)
      : kind(field_kind), key(std::move(field_key)), label(std::move(field_label)) {}

  FieldKind kind = FieldKind::kText;
  std::string key;    // the command-line option without "--"
  std::string label;  // shown before the widget; the text of a note, a check box or a set button
  std::string hint;   // shown after the widget
  std::string help;   // the option's line in --help
  bool same_row = false;
  bool optional = false;       // may be left out on the command line
  std::string unless_flag;     // not needed when this flag is given
  std::string filter;          // file dialogs, as Qt writes filters: "SEQ序列文件(*.seq)"
  std::string default_suffix;  // save dialogs
  std::string name_key;        // kFolderOfFile: the name field filled when it is empty
  std::string value;           // kSetButton
  int max_digits = 9;          // kNumber
};

struct ToolDescription {
  std::string name;
  std::string action;           // the action button's text
  bool shows_progress = false;  // a progress bar in the dialog
  std::vector<FieldSpec> fields;
  // The conversion; returns the one message shown for the run, kOkMessage on success.
  std::function<std::string(const FieldValues&, RunProgress&)> run;
};

// Runs the tool's conversion; memory running out anywhere in it becomes a message rather than the end of the
// program.
std::string RunConversion(const ToolDescription& tool, const FieldValues& values, RunProgress& progress);

}  // namespace vidmetra::converters
