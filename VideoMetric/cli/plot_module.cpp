#include <type_traits>

#include "plot_file.h"
#include "plot_module_entry.h"

extern "C" __attribute__((visibility("default"))) bool VidmetraWritePlotFile(
    const vidmetra::plot::PlotSource& source, const char* path, int width, int height, std::string& error) {
  const std::optional<std::string> failure = vidmetra::plot::WritePlotFile(source, path, width, height);
  if (failure) error = *failure;
  return !failure;
}

// The entry has the type the program looks it up as.
static_assert(std::is_same_v<decltype(VidmetraWritePlotFile), vidmetra::cli::WritePlotFileEntry>);
