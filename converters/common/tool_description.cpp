#include "vidmetra/converters/tool_description.h"

#include <new>

namespace vidmetra::converters {

std::string RunConversion(const ToolDescription& tool, const FieldValues& values, RunProgress& progress) {
  try {
    return tool.run(values, progress);
  } catch (const std::bad_alloc&) {
    return "out of memory.";
  }
}

}  // namespace vidmetra::converters
