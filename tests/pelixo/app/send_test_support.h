// What the send tests share: a private registry store, private folders,
// a recording user interface and the comparison of a written job with an
// expected one.
#ifndef TESTS_SEND_SEND_TEST_SUPPORT_H_
#define TESTS_SEND_SEND_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/settings.h"
#include "pelixo/core/text.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace pelixo::send_test {

inline const std::string kData = PELIXO_TEST_DATA "/send/";

inline void SetEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void UnsetEnv(const std::string& name) {
#ifdef _WIN32
  _putenv_s(name.c_str(), "");
#else
  unsetenv(name.c_str());
#endif
}

inline std::string ReadFile(const std::string& path) {
  platform::Expected<std::string> content = platform::ReadWholeFile(path);
  return content ? *content : std::string("<unreadable " + path + ">");
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(platform::WriteWholeFile(path, bytes).ok()) << path;
}

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = platform::TempDirectory() + "pelixo-send-" + std::to_string(random()) +
            std::to_string(random()) + platform::PathSeparator();
    EXPECT_TRUE(platform::MakeDirectories(path_).ok()) << path_;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Every test starts from an empty Pelixo key: natively a store file of its
// own, on Windows the user's key emptied.
class SendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnv("PELIXO_REGISTRY", folder_ / "registry.reg");
    SetEnv("PELIXO_BOXES", "stderr");
    UnsetEnv("PELIXO_FAIL_WRITES");
    UnsetEnv("PELIXO_DECIMAL_SEPARATOR");
#ifdef _WIN32
    (void)platform::DeleteRegistryTree(kPelixoRegistryKey);
#endif
  }
  void TearDown() override {
    UnsetEnv("PELIXO_FAIL_WRITES");
    UnsetEnv("PELIXO_DECIMAL_SEPARATOR");
  }

  static platform::RegistryKey PelixoKey() {
    platform::Expected<platform::RegistryKey> key = platform::RegistryKey::Open(
        platform::RegistryRoot::kCurrentUser, kPelixoRegistryKey, true);
    EXPECT_TRUE(key.ok());
    return std::move(*key);
  }
  static std::optional<std::string> StoredString(const std::string& name) {
    return PelixoKey().GetString(name);
  }

  TempFolder folder_;
};

// Answers the dialogs from what the test set and records every box.
class RecordingUserInterface : public ConsoleUserInterface {
 public:
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override {
    open_requests.push_back(request);
    return ConsoleUserInterface::ChooseOpenFile(request);
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override {
    save_requests.push_back(request);
    return ConsoleUserInterface::ChooseSaveFile(request);
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void SetWaitCursor(bool on) override { cursor_changes.push_back(on); }
  void EnableMainWindow(bool enabled) override {
    if (!enabled) ++disabled_count;
    ConsoleUserInterface::EnableMainWindow(enabled);
  }
  void FocusJobName() override { ++focus_count; }

  std::vector<FileDialogRequest> open_requests, save_requests;
  std::vector<std::string> errors, messages;
  std::vector<bool> cursor_changes;
  int disabled_count = 0;
  int focus_count = 0;
};

// Compares a written job line by line with an expected file; the header's
// date and time (columns 24-39 of the first line) are only checked for
// their form "dd-Mmm-yy hh:nn ".
inline void ExpectSameJob(const std::string& expected_path, const std::string& actual_path) {
  std::string expected = ReadFile(expected_path);
  std::string actual = ReadFile(actual_path);
  ASSERT_GE(actual.size(), 48u) << actual_path;
  ASSERT_GE(expected.size(), 48u) << expected_path;
  std::string date = actual.substr(24, 16);
  EXPECT_TRUE(date.size() == 16 && date[2] == '-' && date[6] == '-' && date[9] == ' ' &&
              date[12] == ':' && date[15] == ' ')
      << "date text \"" << date << "\"";
  for (int i : {0, 1, 7, 8, 10, 11, 13, 14}) {
    EXPECT_TRUE(date[i] >= '0' && date[i] <= '9') << "date text \"" << date << "\"";
  }
  actual.replace(24, 16, expected.substr(24, 16));
  EXPECT_EQ(expected, actual) << expected_path << " vs " << actual_path;
}

}  // namespace pelixo::send_test

#endif  // TESTS_SEND_SEND_TEST_SUPPORT_H_
