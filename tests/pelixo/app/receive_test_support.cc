#include "tests/pelixo/app/receive_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "pelixo/app/device_transfer.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/registry.h"
#include "standins/jobreader/job_file.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace pelixo::testing {

using tests_support::ClearEnvironment;
using tests_support::FilesIn;
using tests_support::ReadFile;
using tests_support::SetEnvironment;
using tests_support::SetMachineString;

namespace {

void CollectTree(const platform::RegistryKey& key, const std::string& path,
                 std::vector<std::string>* entries) {
  entries->push_back(path);
  for (const std::string& name : key.ValueNames()) {
    std::optional<platform::RegistryValue> value = key.GetValue(name);
    std::string text = path + "\\" + name + "=";
    if (value) {
      text += std::to_string(static_cast<int>(value->type)) + ":";
      for (uint8_t byte : value->data) text += std::to_string(byte) + " ";
    }
    entries->push_back(text);
  }
  for (const std::string& name : key.SubkeyNames()) {
    platform::Expected<platform::RegistryKey> child = platform::RegistryKey::Open(
        platform::RegistryRoot::kCurrentUser, path + "\\" + name, false);
    if (child) CollectTree(*child, path + "\\" + name, entries);
  }
}

}  // namespace

std::vector<std::string> RegistryTree(const std::string& key) {
  std::vector<std::string> entries;
  if (!platform::RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser, key)) return entries;
  platform::Expected<platform::RegistryKey> root =
      platform::RegistryKey::Open(platform::RegistryRoot::kCurrentUser, key, false);
  if (root) CollectTree(*root, key, &entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

void DeleteUserKey(const std::string& key) {
  if (platform::RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser, key)) {
    (void)platform::DeleteRegistryTree(key);
  }
}

void ReceiveWorld::SetUp() {
  root_ = platform::WithTrailingSeparator(std::string(PELIXO_BIN_DIR) + "/receive-tests/" +
                                         tests_support::TestName());
  ASSERT_TRUE(platform::MakeDirectories(root_));
  device_ = root_ + "device";
  temp_ = root_ + "temp" + std::string(1, platform::PathSeparator());
  out_ = root_ + "out";
  for (const std::string& folder : {device_, temp_, out_}) {
    ASSERT_TRUE(platform::MakeDirectories(folder));
    for (const std::string& file : FilesIn(folder)) {
      (void)platform::RemoveFile(platform::WithTrailingSeparator(folder) + file);
    }
  }
  SetEnvironment("PELIXO_BOXES", "stderr");
  SetEnvironment("PELIXO_DECIMAL_SEPARATOR", ".");
  SetEnvironment("SYNCRONA_DEVICE_FOLDER", device_);
  ClearEnvironment("SYNCRONA_CHOSEN_JOBS");
  ClearEnvironment("PELIXO_FAIL_WRITES");
#if defined(_WIN32)
  // The prefix's registry is shared by the tests of one run, which take
  // turns; each starts from no settings of its own.
  DeleteUserKey("Software\\Corvane\\Syncrona");
  DeleteUserKey("Software\\Corvane Syncrona Simulator");
  DeleteUserKey("Software\\Corvane\\Pelixo");
#else
  std::string store = root_ + "registry.reg";
  (void)platform::RemoveFile(store);
  SetEnvironment("PELIXO_REGISTRY", store);
  SetEnvironment("TMPDIR", temp_);
  std::string command = std::string(PELIXO_BIN_DIR "/posix-regsvr /s " PELIXO_BIN_DIR) +
                        "/libsyncrona.so";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
#endif
  SetMachineString(kConverterKey, "Directory", PELIXO_BIN_DIR);
  SetMachineString(kConverterKey, "Language File", "english.lng");
  SetMachineString(kShareKey, "CurrentGeoDataDirectory", "geodata");
}

void ReceiveWorld::TearDown() {
#if defined(_WIN32)
  DeleteUserKey("Software\\Corvane\\Syncrona");
  DeleteUserKey("Software\\Corvane Syncrona Simulator");
  DeleteUserKey("Software\\Corvane\\Pelixo");
#endif
}

void ReceiveWorld::PutJobOnDevice(const std::string& name, const std::string& dc_file,
                                  const std::string& points_file, int major, int minor,
                                  bool is_signed) {
  std::string base = platform::WithTrailingSeparator(device_) + name;
  ASSERT_TRUE(platform::WriteWholeFile(base + ".DC", ReadFile(kReceiveData + dc_file)));
  standins::JobFile job;
  job.is_signed = is_signed;
  job.major = major;
  job.minor = minor;
  platform::Expected<std::vector<standins::JobPoint>> points =
      standins::ParseJobPoints(ReadFile(kReceiveData + points_file), points_file);
  ASSERT_TRUE(points) << points.error().message();
  job.points = *points;
  ASSERT_TRUE(platform::WriteWholeFile(base + ".JOB", standins::EncodeJobFile(job)));
}

void ReceiveWorld::ChooseJobs(const std::string& jobs) {
  SetEnvironment("SYNCRONA_CHOSEN_JOBS", jobs);
}

std::optional<std::string> RecordingUserInterface::ChooseSaveFile(
    const FileDialogRequest& request) {
  save_requests.push_back(request);
  if (save_folder.empty()) return std::nullopt;
  std::string path = platform::WithTrailingSeparator(save_folder) + request.file_name;
  saved.push_back(path);
  return path;
}

}  // namespace pelixo::testing
