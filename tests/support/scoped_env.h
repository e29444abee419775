#pragma once
#include <optional>
#include <string>

namespace vidmetra::testing {

// Sets (or, with nullopt, removes) an environment variable and restores the previous state on destruction.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value);

  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace vidmetra::testing
