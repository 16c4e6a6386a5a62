// Helpers of the front-end and koordles tests: a private working folder per
// test, the environment the programs read, and whole-file comparisons.
#ifndef TESTS_FRONTEND_TEST_SUPPORT_H_
#define TESTS_FRONTEND_TEST_SUPPORT_H_

#include <cstdlib>
#include <string>

#include "gtest/gtest.h"
#include "platform/file_output.h"
#include "platform/files.h"

namespace frontend_test {

inline void SetEnv(const std::string& name, const std::string& value) {
#if defined(_WIN32)
  _putenv((name + "=" + value).c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void UnsetEnv(const std::string& name) {
#if defined(_WIN32)
  _putenv((name + "=").c_str());
#else
  unsetenv(name.c_str());
#endif
}

inline std::string DataPath(const std::string& name) {
  return std::string(PELIXO_TEST_DATA) + "/frontend/" + name;
}

// An empty folder of its own for the running test, ending in a separator.
inline std::string FreshWorkFolder() {
  const testing::TestInfo* info =
      testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  std::string dir = std::string(PELIXO_BIN_DIR) + "/frontend_work/" + name;
  std::string remove = dir;
#if !defined(_WIN32)
  std::system(("rm -rf '" + remove + "'").c_str());
#else
  for (const platform::FileEntry& entry : platform::FindFiles(dir, "*")) {
    if (!entry.is_directory) (void)platform::RemoveFile(dir + "/" + entry.name);
  }
#endif
  (void)platform::MakeDirectories(dir);
  return dir + "/";
}

inline std::string ReadFile(const std::string& path) {
  platform::Expected<std::string> bytes = platform::ReadWholeFile(path);
  return bytes ? *bytes : std::string("<missing " + path + ">");
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(platform::WriteWholeFile(path, bytes).ok()) << path;
}

// Boxes print on stderr; the registry is a store of the test's own.
inline void PrivateEnvironment(const std::string& work) {
  SetEnv("PELIXO_BOXES", "stderr");
  SetEnv("PELIXO_REGISTRY", work + "registry.reg");
  UnsetEnv("PELIXO_FAIL_WRITES");
}

}  // namespace frontend_test

#endif  // TESTS_FRONTEND_TEST_SUPPORT_H_
