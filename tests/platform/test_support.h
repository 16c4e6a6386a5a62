// What the platform tests share besides tests/support: the command line
// that runs the test program again as the child half of a test.
#ifndef TESTS_PLATFORM_TEST_SUPPORT_H_
#define TESTS_PLATFORM_TEST_SUPPORT_H_

#ifdef _WIN32
#include <windows.h>
#undef LoadString
#endif

#include <string>

#include "platform/files.h"
#include "platform/path.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scoped_temp_dir.h"

namespace platform_test {

// `text` in double quotes, built by appending (the compiler's overlap
// warning trips over `"\"" + text`).
inline std::string Quoted(const std::string& text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.append(1, '"').append(text).append(1, '"');
  return quoted;
}

// The command line that runs this test program again with only the tests
// of `filter`: the child half of a test that needs a second process.
inline std::string SelfCommand(const std::string& filter) {
#ifdef _WIN32
  std::string exe = platform::ExecutableDirectory() + "platform_test.exe";
#else
  std::string exe = platform::ExecutableDirectory() + "platform_test";
#endif
  return Quoted(exe) + " --gtest_filter=" + filter;
}

}  // namespace platform_test

#endif  // TESTS_PLATFORM_TEST_SUPPORT_H_
