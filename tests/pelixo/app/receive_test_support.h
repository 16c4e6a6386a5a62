// What the receive tests share: a private world for one test (folders for
// the simulated device, the temporary directory and the exports; natively a
// private registry store), the converter settings of the local machine that
// point at the stand-in job readers, and a user interface that records what
// the drivers show.
#ifndef TESTS_RECEIVE_RECEIVE_TEST_SUPPORT_H_
#define TESTS_RECEIVE_RECEIVE_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pelixo/app/user_interface.h"
#include "platform/error.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_environment.h"

namespace pelixo::testing {

inline const char kReceiveData[] = PELIXO_TEST_DATA "/receive/";

// The entries of a key of the current user and everything below it, one
// text per value ("path\name=type:bytes") and per key, sorted.
std::vector<std::string> RegistryTree(const std::string& key);
void DeleteUserKey(const std::string& key);

// A test's own folders and settings; torn down after the test.
class ReceiveWorld : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Places the job `name` on the simulated device: the DC file copied from
  // the test data and a job file of `major`.`minor` made from a point list
  // of the test data (older layout unless `is_signed`).
  void PutJobOnDevice(const std::string& name, const std::string& dc_file,
                      const std::string& points_file, int major, int minor, bool is_signed);
  void ChooseJobs(const std::string& jobs);
  static std::string Expected(const std::string& name) {
    return tests_support::ReadFile(kReceiveData + name);
  }

  std::string root_;    // with trailing separator
  std::string device_;  // the simulated device
  std::string temp_;    // the temporary directory jobs are received into
  std::string out_;     // where exports are saved
};

class RecordingUserInterface : public UserInterface {
 public:
  // Every save dialog is answered with `folder` + the proposed name, or
  // cancelled when `folder` is empty.
  std::string save_folder;
  std::vector<std::string> errors, messages, notes, saved;
  std::vector<FileDialogRequest> save_requests;
  std::optional<std::string> open_file;

  std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override {
    return open_file;
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void SetWaitCursor(bool on) override { wait_cursor += on ? 1 : -1; }
  void EnableMainWindow(bool enabled) override { enabled_ = enabled; }
  bool IsMainWindowEnabled() override { return enabled_; }
  void ProcessMessages() override {}
  void FocusJobName() override {}
  void Note(const std::string& text) override { notes.push_back(text); }

  int wait_cursor = 0;  // back to 0 after every action

 private:
  bool enabled_ = true;
};

}  // namespace pelixo::testing

#endif  // TESTS_RECEIVE_RECEIVE_TEST_SUPPORT_H_
