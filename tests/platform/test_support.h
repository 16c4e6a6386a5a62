// A private folder for one test, removed with everything in it at the end.
#ifndef TESTS_PLATFORM_TEST_SUPPORT_H_
#define TESTS_PLATFORM_TEST_SUPPORT_H_

#ifdef _WIN32
#include <windows.h>
#undef LoadString
#endif

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "tests/support/scoped_env.h"

namespace platform_test {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    path_ = platform::TempDirectory() + "pelixo-platform-" +
            std::to_string(random()) + platform::PathSeparator();
    (void)platform::MakeDirectories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, with a trailing separator.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // Writes `bytes` to the file `name` of the folder and returns its path.
  std::string Write(const std::string& name, std::string_view bytes) const {
    std::string file = File(name);
    (void)platform::WriteWholeFile(file, bytes);
    return file;
  }

 private:
  std::string path_;
};

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

using tests_support::ScopedEnv;

}  // namespace platform_test

#endif  // TESTS_PLATFORM_TEST_SUPPORT_H_
