#include "vidmetra/shared_module.h"

#if defined(_WIN32)
#include <windows.h>

#include "vidmetra/utf_text.h"
#else
#include <dlfcn.h>
#endif

namespace vidmetra {

bool SharedModule::Load(const std::string& path) {
  Unload();
#if defined(_WIN32)
  const std::u16string wide = Utf8ToUtf16(path);
  handle_ = reinterpret_cast<void*>(LoadLibraryW(reinterpret_cast<const wchar_t*>(wide.c_str())));
  failure_ = handle_ != nullptr ? "" : "system error " + std::to_string(GetLastError());
#else
  // RTLD_LOCAL keeps two plug-ins' symbols apart; RTLD_NOW fails a module with missing symbols at load.
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const char* reason = handle_ != nullptr ? nullptr : dlerror();
  failure_ = reason != nullptr ? reason : "";
#endif
  return handle_ != nullptr;
}

void SharedModule::Unload() {
  if (handle_ == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

void* SharedModule::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}

}  // namespace vidmetra
