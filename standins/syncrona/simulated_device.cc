#include "standins/syncrona/simulated_device.h"

#include <cstdlib>
#include <optional>

#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/registry.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace standins {

namespace {

// The process environment itself (not a copy of one runtime library), so
// that a host that sets a variable before creating the component is heard.
std::optional<std::string> Environment(const char* name) {
#if defined(_WIN32)
  char buffer[4096];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::nullopt;
  return std::string(buffer, length);
#else
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
#endif
}

std::optional<std::string> Setting(const char* variable, const char* value_name) {
  if (std::optional<std::string> value = Environment(variable)) return value;
  if (!platform::RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser, kSimulatorKey)) {
    return std::nullopt;
  }
  platform::Expected<platform::RegistryKey> key =
      platform::RegistryKey::Open(platform::RegistryRoot::kCurrentUser, kSimulatorKey, false);
  if (!key) return std::nullopt;
  if (std::optional<std::string> text = key->GetString(value_name)) return text;
  if (std::optional<int32_t> number = key->GetInt(value_name)) return std::to_string(*number);
  return std::nullopt;
}

// The file of `job` with `extension` in the device folder, whatever the case
// of its name.
std::optional<std::string> DeviceFile(const std::string& folder, const std::string& job,
                                      const std::string& extension) {
  for (const platform::FileEntry& entry : platform::FindFiles(folder, job + extension)) {
    if (!entry.is_directory) return platform::WithTrailingSeparator(folder) + entry.name;
  }
  return std::nullopt;
}

platform::Status CopyFile(const std::string& from, const std::string& to) {
  platform::Expected<std::string> bytes = platform::ReadWholeFile(from);
  if (!bytes) return bytes.error();
  return platform::WriteWholeFile(to, *bytes);
}

std::string StripExtension(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string DeviceFolder() {
  return Setting("SYNCRONA_DEVICE_FOLDER", "Device Folder").value_or(std::string());
}

std::vector<std::string> ChosenJobs() {
  std::string list = Setting("SYNCRONA_CHOSEN_JOBS", "Chosen Jobs").value_or(std::string());
  std::vector<std::string> jobs;
  if (list == "*") {
    std::string folder = DeviceFolder();
    for (const platform::FileEntry& entry : platform::FindFiles(folder, "*.dc")) {
      if (!entry.is_directory) jobs.push_back(StripExtension(entry.name));
    }
    return jobs;
  }
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string job = list.substr(start, end - start);
    if (!job.empty()) jobs.push_back(job);
    start = end + 1;
  }
  return jobs;
}

int SendVersion() {
  std::optional<std::string> text = Setting("SYNCRONA_SEND_VERSION", "Send Version");
  if (!text) return 1070;
  int version = std::atoi(text->c_str());
  return version > 0 ? version : 1070;
}

bool BackupDataFiles() {
  const char* settings = "Software\\Corvane\\Syncrona\\Settings";
  if (!platform::RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser, settings)) {
    return false;
  }
  platform::Expected<platform::RegistryKey> key =
      platform::RegistryKey::Open(platform::RegistryRoot::kCurrentUser, settings, false);
  if (!key) return false;
  return key->GetInt("Backup Data Files").value_or(0) != 0;
}

platform::Expected<std::vector<std::string>> ReceiveJobs(const std::string& destination) {
  std::string folder = DeviceFolder();
  if (folder.empty() || !platform::DirectoryExists(folder)) {
    return platform::Error("No device is connected (device folder \"" + folder + "\")");
  }
  bool backup = BackupDataFiles();
  std::string target_folder = platform::WithTrailingSeparator(destination);
  std::vector<std::string> received;
  for (const std::string& job : ChosenJobs()) {
    if (!IsStorableJobName(job)) continue;
    std::optional<std::string> dc = DeviceFile(folder, job, ".dc");
    if (!dc) continue;
    std::string dc_target = target_folder + job + ".DC";
    platform::Status copied = CopyFile(*dc, dc_target);
    if (!copied) return copied.error();
    if (backup) {
      if (std::optional<std::string> job_file = DeviceFile(folder, job, ".job")) {
        copied = CopyFile(*job_file, target_folder + job + ".JOB");
        if (!copied) return copied.error();
      }
    }
    received.push_back(dc_target);
  }
  return received;
}

bool IsStorableJobName(const std::string& job_name) {
  if (job_name.empty() || job_name == "." || job_name == "..") return false;
  for (char c : job_name) {
    if (c == '\\' || c == '/' || c == ':' || static_cast<unsigned char>(c) < 32) return false;
  }
  return true;
}

platform::Status StoreJob(const std::string& job_name, const std::string& dc_path) {
  if (!IsStorableJobName(job_name)) {
    return platform::Error("The device cannot hold a job named \"" + job_name + "\"");
  }
  std::string folder = DeviceFolder();
  if (folder.empty() || !platform::DirectoryExists(folder)) {
    return platform::Error("No device is connected (device folder \"" + folder + "\")");
  }
  return CopyFile(dc_path, platform::WithTrailingSeparator(folder) + job_name + ".DC");
}

}  // namespace standins
