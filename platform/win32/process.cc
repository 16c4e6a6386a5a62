#include "platform/process.h"

#include <windows.h>

#include <vector>

#include "platform/backend.h"

namespace platform {

class Process::Impl {
 public:
  explicit Impl(const PROCESS_INFORMATION& info) : info_(info) {}
  ~Impl() {
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  PROCESS_INFORMATION info_;
};

Expected<Process> Process::Start(const std::string& command_line) {
  // The system may write into the line it is given.
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &info)) {
    return Error("Cannot start " + command_line + ": " +
                 backend::LastErrorText());
  }
  return Process(MakeImpl<Impl>(info));
}

void Process::WaitForInputIdle(unsigned timeout_ms) {
  if (impl_) ::WaitForInputIdle(impl_->info_.hProcess, timeout_ms);
}

int Process::WaitForExit() {
  if (!impl_) return -1;
  WaitForSingleObject(impl_->info_.hProcess, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(impl_->info_.hProcess, &code)) return -1;
  return static_cast<int>(code);
}

}  // namespace platform
