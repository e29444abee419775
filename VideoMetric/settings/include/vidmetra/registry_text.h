#pragma once
// The text form of a settings key, one value per line: name=dword:42, name=sz:"text",
// name=multi_sz:"first","second". Texts escape backslash, quote and control characters.
#include <string>
#include <string_view>

#include "vidmetra/registry_key.h"

namespace vidmetra {

std::string FormatRegistryText(const RegistryValues& values);

// Lines that do not parse completely are skipped, so one damaged value never costs the others; a later line
// for the same name replaces an earlier one.
RegistryValues ParseRegistryText(std::string_view text);

}  // namespace vidmetra
