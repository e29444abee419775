#include "vidmetra/ffmpeg_api.h"

#include <cstdio>
#include <cstdlib>

#include "vidmetra/shared_module.h"

namespace vidmetra {
namespace {

struct LoadedFfmpeg {
  SharedModule modules[kFfmpegLibraryCount];
  FfmpegApi api;
  std::string failure;
};

struct LibraryVersion {
  const char* name;
  int major;
};

constexpr LibraryVersion kVersions[kFfmpegLibraryCount] = {
    {"avutil", LIBAVUTIL_VERSION_MAJOR},
    {"swscale", LIBSWSCALE_VERSION_MAJOR},
    {"avcodec", LIBAVCODEC_VERSION_MAJOR},
    {"avformat", LIBAVFORMAT_VERSION_MAJOR},
};

#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

std::string LibraryPath(FfmpegLibrary library) {
  const char* directory = std::getenv("VIDMETRA_FFMPEG_DIR");
  if (directory == nullptr || *directory == '\0') return FfmpegLibraryName(library);
  return std::string(directory) + kPathSeparator + FfmpegLibraryName(library);
}

std::string LoadLibraries(LoadedFfmpeg& loaded) {
  for (int i = 0; i < kFfmpegLibraryCount; ++i) {
    const std::string path = LibraryPath(static_cast<FfmpegLibrary>(i));
    if (!loaded.modules[i].Load(path)) {
      return "FFmpeg library " + FfmpegLibraryName(static_cast<FfmpegLibrary>(i)) + " cannot be loaded: " +
             loaded.modules[i].failure();
    }
  }
  return {};
}

template <typename Function>
bool Bind(const SharedModule& module, const char* name, Function& entry) {
  entry = reinterpret_cast<Function>(module.Symbol(name));
  return entry != nullptr;
}

std::string BindFunctions(LoadedFfmpeg& loaded) {
#define VIDMETRA_FFMPEG_BIND(library, function)                                                               \
  if (!Bind(loaded.modules[static_cast<int>(FfmpegLibrary::library)], #function, loaded.api.function)) {     \
    return "FFmpeg library " + FfmpegLibraryName(FfmpegLibrary::library) + " lacks the function " #function; \
  }
  VIDMETRA_FFMPEG_FUNCTIONS(VIDMETRA_FFMPEG_BIND)
#undef VIDMETRA_FFMPEG_BIND
  return {};
}

LoadedFfmpeg& Loaded() {
  // Never unloaded: objects that static destructors release at exit may still call into the libraries, and
  // their threads must not outlive their code.
  static LoadedFfmpeg& loaded = []() -> LoadedFfmpeg& {
    auto* fresh = new LoadedFfmpeg;
    fresh->failure = LoadLibraries(*fresh);
    if (fresh->failure.empty()) fresh->failure = BindFunctions(*fresh);
    return *fresh;
  }();
  return loaded;
}

}  // namespace

std::string FfmpegLibraryName(FfmpegLibrary library) {
  const LibraryVersion& version = kVersions[static_cast<int>(library)];
#if defined(_WIN32)
  return std::string(version.name) + "-" + std::to_string(version.major) + ".dll";
#elif defined(__APPLE__)
  return "lib" + std::string(version.name) + "." + std::to_string(version.major) + ".dylib";
#else
  return "lib" + std::string(version.name) + ".so." + std::to_string(version.major);
#endif
}

const FfmpegApi* LoadFfmpeg() {
  const LoadedFfmpeg& loaded = Loaded();
  return loaded.failure.empty() ? &loaded.api : nullptr;
}

const std::string& FfmpegFailure() { return Loaded().failure; }

const FfmpegApi& Ffmpeg() {
  const FfmpegApi* api = LoadFfmpeg();
  if (api == nullptr) {
    // Only reachable through a missing FfmpegAvailable() check: no FFmpeg object can exist without the table.
    std::fprintf(stderr, "%s\n", FfmpegFailure().c_str());
    std::abort();
  }
  return *api;
}

}  // namespace vidmetra
