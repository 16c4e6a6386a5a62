// Helpers of the front-end and koordles tests: a private working folder per
// test, the environment the programs read, and whole-file comparisons.
#ifndef TESTS_FRONTEND_TEST_SUPPORT_H_
#define TESTS_FRONTEND_TEST_SUPPORT_H_

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <cstdint>
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

// Sets the modification time of `path` (on Windows its creation time too)
// to `ns` nanoseconds since 1970, which a file system without birth times
// gives as the creation time as well.
inline void SetFileTimes(const std::string& path, int64_t ns) {
#if defined(_WIN32)
  const uint64_t ticks = uint64_t(ns / 100) + 116444736000000000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  const bool set = SetFileTime(file, &time, nullptr, &time) != 0;
  CloseHandle(file);
  ASSERT_TRUE(set) << path;
#else
  const timespec times[2] = {{ns / 1000000000, ns % 1000000000},
                             {ns / 1000000000, ns % 1000000000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
#endif
}

// Boxes print on stderr; the registry is a store of the test's own.
inline void PrivateEnvironment(const std::string& work) {
  SetEnv("PELIXO_BOXES", "stderr");
  SetEnv("PELIXO_REGISTRY", work + "registry.reg");
  UnsetEnv("PELIXO_FAIL_WRITES");
}

}  // namespace frontend_test

#endif  // TESTS_FRONTEND_TEST_SUPPORT_H_
