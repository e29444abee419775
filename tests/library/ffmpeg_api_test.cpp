// The table of FFmpeg functions: every entry is loaded, and from the library the list names for it (looking a
// function up in a library also finds it in that library's dependencies, so a wrong library would go unnoticed).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {
namespace {

// The file name of the library that holds `function`.
std::string HoldingLibrary(const void* function) {
  Dl_info info{};
  if (dladdr(function, &info) == 0 || info.dli_fname == nullptr) return {};
  return std::filesystem::path(info.dli_fname).filename().string();
}

TEST(FfmpegApi, EveryFunctionComesFromTheLibraryItIsListedWith) {
  const FfmpegApi* api = LoadFfmpeg();
  ASSERT_NE(api, nullptr) << FfmpegFailure();
  EXPECT_EQ(FfmpegFailure(), "");
  EXPECT_EQ(&Ffmpeg(), api);
  size_t checked = 0;
#define VIDMETRA_CHECK_FUNCTION(library, function)                                                      \
  ASSERT_NE(api->function, nullptr) << #function;                                                      \
  EXPECT_EQ(HoldingLibrary(reinterpret_cast<const void*>(api->function)),                               \
            FfmpegLibraryName(FfmpegLibrary::library))                                                  \
      << #function;                                                                                     \
  ++checked;
  VIDMETRA_FFMPEG_FUNCTIONS(VIDMETRA_CHECK_FUNCTION)
#undef VIDMETRA_CHECK_FUNCTION
  EXPECT_EQ(checked * sizeof(void*), sizeof(FfmpegApi));
}

}  // namespace
}  // namespace vidmetra
