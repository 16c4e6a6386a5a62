// Environment variables of the test process, which the programs it starts
// inherit (on Windows set in the C runtime's copy and the process's).
#ifndef TESTS_SUPPORT_SCOPED_ENV_H_
#define TESTS_SUPPORT_SCOPED_ENV_H_

#include <optional>
#include <string>

namespace tests_support {

void SetEnvironment(const std::string& name, const std::string& value);
void ClearEnvironment(const std::string& name);

// A variable set for the life of the object, and put back as it was
// afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace tests_support

#endif  // TESTS_SUPPORT_SCOPED_ENV_H_
