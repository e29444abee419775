#pragma once
// A dynamic module loaded by full path, unloaded on destruction.
#include <string>

namespace vidmetra {

class SharedModule {
 public:
  SharedModule() = default;
  ~SharedModule() { Unload(); }
  SharedModule(const SharedModule&) = delete;
  SharedModule& operator=(const SharedModule&) = delete;

  bool Load(const std::string& path);
  void Unload();
  bool loaded() const { return handle_ != nullptr; }
  // The system loader's reason why the last Load failed; empty after a successful one.
  const std::string& failure() const { return failure_; }
  // Null when the module is not loaded or lacks the symbol.
  void* Symbol(const char* name) const;

 private:
  void* handle_ = nullptr;
  std::string failure_;
};

}  // namespace vidmetra
