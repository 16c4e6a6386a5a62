#include "tests/e2e/e2e_world.h"

#include <algorithm>
#include <cstdlib>

#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_environment.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace e2e {
namespace {

using tests_support::ClearEnvironment;
using tests_support::SetEnvironment;
using tests_support::SetMachineString;

// Where the stand-in component finds its job readers: a value of the local
// machine that Pelixo only reads.
constexpr char kConverterKey[] =
    "SOFTWARE\\Corvane\\Syncrona\\Device Drivers\\Terrapad\\Converter";

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && platform::IsPathSeparator(path.back())) path.pop_back();
  return path;
}

#if defined(_WIN32)

// The registry of the prefix is shared by the tests of a run, which take
// turns; each run starts from no settings of Pelixo's or the device's.
void DeleteUserSettings() {
  for (const char* key : {"Software\\Corvane\\Pelixo", "Software\\Corvane\\Syncrona",
                          "Software\\Corvane Syncrona Simulator"}) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
  }
}

// One argument as the runtime of the started program splits it again.
std::string Quoted(const std::string& argument) {
  std::string text = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    text.push_back(c);
  }
  text.append(2 * backslashes, '\\');
  return text + "\"";
}

int RunProgram(const std::string& path, const std::vector<std::string>& arguments,
               const std::string& error_file) {
  std::string line = Quoted(path);
  for (const std::string& argument : arguments) {
    line += ' ';
    line += Quoted(argument);
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE errors = CreateFileA(error_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE nothing = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, 0, &inherit,
                               OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothing;
  startup.hStdOutput = nothing;
  startup.hStdError = errors;
  PROCESS_INFORMATION info = {};
  DWORD code = static_cast<DWORD>(-1);
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    WaitForSingleObject(info.hProcess, INFINITE);
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << line;
  }
  CloseHandle(errors);
  CloseHandle(nothing);
  return static_cast<int>(code);
}

#else

int RunProgram(const std::string& path, const std::vector<std::string>& arguments,
               const std::string& error_file) {
  std::string command = "'" + path + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  command += " </dev/null >/dev/null 2>'" + error_file + "'";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

}  // namespace

std::string NativePath(std::string path) {
#if defined(_WIN32)
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

void EndToEnd::SetUp() {
  root_ = platform::WithTrailingSeparator(
      NativePath(std::string(PELIXO_BIN_DIR) + "/e2e-tests/" + tests_support::TestName()));
  device_ = root_ + "device" + platform::PathSeparator();
  temp_ = root_ + "temp" + platform::PathSeparator();
  out_ = root_ + "out" + platform::PathSeparator();
  user_ = root_ + "user" + platform::PathSeparator();
  for (const std::string& folder : {root_, device_, temp_, out_, user_}) {
    ASSERT_TRUE(platform::MakeDirectories(folder)) << folder;
    RemoveFilesIn(folder);
  }

  SetEnvironment("PELIXO_BOXES", "stderr");
  SetEnvironment("PELIXO_DECIMAL_SEPARATOR", ".");
  SetEnvironment("SYNCRONA_DEVICE_FOLDER", WithoutTrailingSeparator(device_));
  ClearEnvironment("SYNCRONA_CHOSEN_JOBS");
  ClearEnvironment("SYNCRONA_SEND_VERSION");
  ClearEnvironment("PELIXO_FAIL_WRITES");
#if defined(_WIN32)
  SetEnvironment("TMP", WithoutTrailingSeparator(temp_));
  SetEnvironment("TEMP", WithoutTrailingSeparator(temp_));
  DeleteUserSettings();
#else
  SetEnvironment("TMPDIR", temp_);
  SetEnvironment("PELIXO_REGISTRY", root_ + "registry.reg");
#endif
  const std::string bin = NativePath(PELIXO_BIN_DIR);
  SetMachineString(kConverterKey, "Directory", bin);
  SetMachineString(kConverterKey, "Language File", "english.lng");
#if !defined(_WIN32)
  // Natively the component is registered in the run's own store, as
  // regsvr32 registers it under wine (the test's fixture does that there).
  ASSERT_EQ(Run("posix-regsvr", {"/s", bin + "/libsyncrona.so"}), 0) << stderr_;
#endif

  std::string ini = Data("Formats.ini.in");
  const std::string marker = "@FRONTEND@";
  const std::string front_end = NativePath(std::string(PELIXO_BIN_DIR) + "/" + kFrontEnd);
  for (size_t at = ini.find(marker); at != std::string::npos; at = ini.find(marker, at)) {
    ini.replace(at, marker.size(), front_end);
    at += front_end.size();
  }
  ini_ = root_ + "Formats.ini";
  WriteFile(ini_, ini);
}

void EndToEnd::TearDown() {
#if defined(_WIN32)
  DeleteUserSettings();
#endif
}

int EndToEnd::Run(const std::string& program, const std::vector<std::string>& arguments) {
  const std::string errors = root_ + "stderr.txt";
  int code = RunProgram(NativePath(std::string(PELIXO_BIN_DIR) + "/" + program), arguments,
                        errors);
  platform::Expected<std::string> text = platform::ReadWholeFile(errors);
  stderr_.clear();
  // Windows programs end their lines with CR LF on stderr.
  for (char c : text ? *text : std::string()) {
    if (c == '\n' && !stderr_.empty() && stderr_.back() == '\r') stderr_.pop_back();
    stderr_.push_back(c);
  }
  (void)platform::RemoveFile(errors);
  return code;
}

void EndToEnd::PutJobOnDevice(const std::string& name, const std::string& dc,
                              const std::string& points_file) {
  WriteFile(device_ + name + ".DC", dc);
  const std::string points = NativePath(std::string(PELIXO_TEST_DATA) + "/e2e/" + points_file);
  ASSERT_EQ(Run(kMakeJob, {"--version", "10.70", points, device_ + name + ".JOB"}), 0)
      << stderr_;
}

void EndToEnd::ChooseJobs(const std::string& jobs) { SetEnvironment("SYNCRONA_CHOSEN_JOBS", jobs); }

std::string EndToEnd::FrontEndCommand(const std::string& options) const {
  return NativePath(std::string(PELIXO_BIN_DIR) + "/" + kFrontEnd) + " " + options;
}

std::string EndToEnd::Data(const std::string& name) const {
  return ReadFile(std::string(PELIXO_TEST_DATA) + "/e2e/" + name);
}

void EndToEnd::RemoveFilesIn(const std::string& folder) const {
  for (const std::string& file : FilesIn(folder)) {
    EXPECT_TRUE(platform::RemoveFile(folder + file)) << folder + file;
  }
}

}  // namespace e2e
