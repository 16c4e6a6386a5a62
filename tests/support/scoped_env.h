// An environment variable set for the life of the object, and put back as
// it was afterwards (on Windows in the C runtime's copy and the process's).
#ifndef TESTS_SUPPORT_SCOPED_ENV_H_
#define TESTS_SUPPORT_SCOPED_ENV_H_

#ifdef _WIN32
#include <windows.h>
#undef LoadString
#endif

#include <cstdlib>
#include <string>

namespace tests_support {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      had_old_ = true;
      old_ = old;
    }
    Set(value.c_str());
  }
  ~ScopedEnv() { Set(had_old_ ? old_.c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const char* value) {
#ifdef _WIN32
    // Both the C runtime's copy and the process environment.
    std::string entry = name_ + "=" + (value ? value : "");
    _putenv(entry.c_str());
    SetEnvironmentVariableA(name_.c_str(), value);
#else
    if (value) {
      setenv(name_.c_str(), value, 1);
    } else {
      unsetenv(name_.c_str());
    }
#endif
  }
  std::string name_;
  std::string old_;
  bool had_old_ = false;
};

}  // namespace tests_support

#endif  // TESTS_SUPPORT_SCOPED_ENV_H_
