#include "vidmetra/avisynth_api.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "vidmetra/shared_module.h"

namespace vidmetra {
namespace {

struct LoadedAvisynth {
  SharedModule module;
  AvisynthApi api;
  bool complete = false;
};

template <typename Function>
bool Bind(const SharedModule& module, const char* name, Function& entry) {
  entry = reinterpret_cast<Function>(module.Symbol(name));
  return entry != nullptr;
}

void BindAll(LoadedAvisynth& loaded) {
  const SharedModule& m = loaded.module;
  AvisynthApi& a = loaded.api;
  loaded.complete =
      Bind(m, "avs_create_script_environment", a.create_script_environment) &&
      Bind(m, "avs_delete_script_environment", a.delete_script_environment) && Bind(m, "avs_invoke", a.invoke) &&
      Bind(m, "avs_get_error", a.get_error) && Bind(m, "avs_take_clip", a.take_clip) &&
      Bind(m, "avs_release_value", a.release_value) && Bind(m, "avs_release_clip", a.release_clip) &&
      Bind(m, "avs_clip_get_error", a.clip_get_error) && Bind(m, "avs_get_video_info", a.get_video_info) &&
      Bind(m, "avs_get_frame", a.get_frame) && Bind(m, "avs_release_video_frame", a.release_video_frame) &&
      Bind(m, "avs_get_pitch_p", a.get_pitch_p) && Bind(m, "avs_get_row_size_p", a.get_row_size_p) &&
      Bind(m, "avs_get_height_p", a.get_height_p) && Bind(m, "avs_get_read_ptr_p", a.get_read_ptr_p);
}

}  // namespace

std::string AvisynthLibraryPath() {
  if (const char* path = std::getenv("VIDMETRA_AVISYNTH_LIBRARY"); path != nullptr && *path != '\0') return path;
#if defined(_WIN32)
  return "AviSynth.dll";
#elif defined(__APPLE__)
  return "libavisynth.dylib";
#else
  return "libavisynth.so";
#endif
}

// Modules stay loaded for the life of the process: AviSynth+ keeps threads and caches of its own that must not
// outlive its code. One entry per path, so that a changed setting is honoured on the next open.
const AvisynthApi* LoadAvisynth() {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<LoadedAvisynth>> loaded_by_path;
  const std::string path = AvisynthLibraryPath();
  const std::lock_guard lock(mutex);
  std::unique_ptr<LoadedAvisynth>& loaded = loaded_by_path[path];
  if (!loaded) loaded = std::make_unique<LoadedAvisynth>();
  // A library installed while the program runs is found on the next open.
  if (!loaded->complete && loaded->module.Load(path)) BindAll(*loaded);
  return loaded->complete ? &loaded->api : nullptr;
}

}  // namespace vidmetra
