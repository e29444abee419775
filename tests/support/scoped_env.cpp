#include "support/scoped_env.h"

#include <cstdlib>

namespace vidmetra::testing {

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
  if (const char* previous = std::getenv(name_.c_str())) previous_ = previous;
  Apply(name_, value);
}

ScopedEnv::~ScopedEnv() { Apply(name_, previous_); }

void ScopedEnv::Apply(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}

}  // namespace vidmetra::testing
