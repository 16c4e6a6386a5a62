#include "tests/support/scoped_env.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tests_support {

void SetEnvironment(const std::string& name, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(name.c_str(), value.c_str());
  SetEnvironmentVariableA(name.c_str(), value.c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

void ClearEnvironment(const std::string& name) {
#if defined(_WIN32)
  _putenv_s(name.c_str(), "");
  SetEnvironmentVariableA(name.c_str(), nullptr);
#else
  unsetenv(name.c_str());
#endif
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name.c_str())) old_ = old;
  SetEnvironment(name, value);
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    SetEnvironment(name_, *old_);
  } else {
    ClearEnvironment(name_);
  }
}

}  // namespace tests_support
