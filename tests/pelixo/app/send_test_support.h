// What the send tests share: a private registry store, a private folder,
// a recording user interface and the comparison of a written job with an
// expected one.
#ifndef TESTS_SEND_SEND_TEST_SUPPORT_H_
#define TESTS_SEND_SEND_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/options_form.h"
#include "pelixo/core/text.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/registry.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/support/test_environment.h"

namespace pelixo::send_test {

inline const std::string kData = PELIXO_TEST_DATA "/send/";

using tests_support::ClearEnvironment;
using tests_support::ReadFile;
using tests_support::SetEnvironment;
using tests_support::WriteFile;

// Every test starts from an empty Pelixo key: natively a store file of its
// own, on Windows the user's key emptied.
class SendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tests_support::PrivateSettings(folder_.path());
    ClearEnvironment("PELIXO_DECIMAL_SEPARATOR");
#ifdef _WIN32
    (void)platform::DeleteRegistryTree(kPelixoRegistryKey);
#endif
  }
  void TearDown() override {
    ClearEnvironment("PELIXO_FAIL_WRITES");
    ClearEnvironment("PELIXO_DECIMAL_SEPARATOR");
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

  tests_support::ScopedTempDir folder_;
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
