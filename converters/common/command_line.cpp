#include "vidmetra/converters/command_line.h"

#include <algorithm>
#include <optional>
#include <set>

namespace vidmetra::converters {
namespace {

bool TakesOption(const FieldSpec& field) {
  return field.kind != FieldKind::kNote && field.kind != FieldKind::kSetButton;
}

const FieldSpec* FindField(const ToolDescription& tool, const std::string& key) {
  const auto found = std::find_if(tool.fields.begin(), tool.fields.end(),
                                  [&](const FieldSpec& field) { return TakesOption(field) && field.key == key; });
  return found == tool.fields.end() ? nullptr : &*found;
}

bool IsNumber(const std::string& text, int max_digits) {
  return !text.empty() && text.size() <= static_cast<size_t>(max_digits) &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class Parser {
 public:
  Parser(const ToolDescription& tool, std::ostream& err) : tool_(tool), err_(err) {}

  // The field values, or nothing after a usage error has been described.
  std::optional<FieldValues> Parse(std::span<const std::string> arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
      const std::string& argument = arguments[i];
      if (argument.rfind("--", 0) != 0) return Fail("unexpected argument \"" + argument + "\"");
      const size_t equals = argument.find('=');
      const std::string key = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      const FieldSpec* field = FindField(tool_, key);
      if (field == nullptr) return Fail("unknown option --" + key);
      std::string value;
      if (field->kind == FieldKind::kFlag) {
        if (equals != std::string::npos) return Fail("--" + key + " takes no value");
        value = "1";
      } else if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return Fail("--" + key + " needs a value");
      }
      if (field->kind == FieldKind::kNumber && !IsNumber(value, field->max_digits)) {
        return Fail("--" + key + " takes a number of up to " + std::to_string(field->max_digits) + " digits");
      }
      given_.insert(key);
      values_.Set(key, std::move(value));
    }
    return CheckRequired() ? std::optional<FieldValues>(values_) : std::nullopt;
  }

 private:
  std::nullopt_t Fail(const std::string& text) {
    err_ << tool_.name << ": " << text << "\n"
         << "Try '" << tool_.name << " --help'.\n";
    return std::nullopt;
  }

  bool CheckRequired() {
    for (const FieldSpec& field : tool_.fields) {
      if (!TakesOption(field) || field.optional || field.kind == FieldKind::kFlag || given_.contains(field.key)) {
        continue;
      }
      if (!field.unless_flag.empty() && given_.contains(field.unless_flag)) continue;
      Fail("missing --" + field.key + (field.unless_flag.empty() ? "" : " (or --" + field.unless_flag + ")"));
      return false;
    }
    return true;
  }

  const ToolDescription& tool_;
  std::ostream& err_;
  FieldValues values_;
  std::set<std::string> given_;
};

}  // namespace

std::string CommandLineHelp(const ToolDescription& tool) {
  std::string help = "Usage: " + tool.name + " [options]\n" + "Without options the dialog opens. With options " +
                     tool.name + " runs the \"" + tool.action +
                     "\" action at once and prints its message: exit status 0 for \"ok!\", 1 for any failure, "
                     "2 for a usage error.\n\nOptions:\n";
  for (const FieldSpec& field : tool.fields) {
    if (!TakesOption(field)) continue;
    std::string option = "  --" + field.key;
    if (field.kind != FieldKind::kFlag) option += field.kind == FieldKind::kNumber ? " N" : " TEXT";
    option.resize(std::max<size_t>(option.size() + 1, 20), ' ');
    help += option + field.help + (field.optional || field.kind == FieldKind::kFlag ? " (optional)" : "") + "\n";
  }
  help += "  --help            this text\n";
  return help;
}

int RunCommandLine(const ToolDescription& tool, std::span<const std::string> arguments, std::ostream& out,
                   std::ostream& err) {
  if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
    out << CommandLineHelp(tool);
    return kExitOk;
  }
  const std::optional<FieldValues> values = Parser(tool, err).Parse(arguments);
  if (!values) return kExitUsage;
  RunProgress silent;
  const std::string message = RunConversion(tool, *values, silent);
  out << message;
  if (message.empty() || message.back() != '\n') out << '\n';
  return message == kOkMessage ? kExitOk : kExitFailed;
}

}  // namespace vidmetra::converters
