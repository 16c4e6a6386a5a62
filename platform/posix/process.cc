#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace platform {

class Process::Impl {
 public:
  explicit Impl(pid_t pid) : pid_(pid) {}
  pid_t pid_;
  bool reaped_ = false;
  int exit_code_ = 0;
};

Expected<Process> Process::Start(const std::string& command_line) {
  std::vector<std::string> args = SplitCommandLine(command_line);
  if (args.empty() || args[0].empty()) {
    return Error("Cannot start " + command_line + ": no program named");
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    return Error("Cannot start " + command_line + ": " + std::strerror(error));
  }
  return Process(MakeImpl<Impl>(pid));
}

void Process::WaitForInputIdle(unsigned /*timeout_ms*/) {}

int Process::WaitForExit() {
  if (!impl_) return -1;
  if (!impl_->reaped_) {
    int status = 0;
    pid_t done;
    do {
      done = waitpid(impl_->pid_, &status, 0);
    } while (done < 0 && errno == EINTR);
    impl_->reaped_ = true;
    if (done < 0) {
      impl_->exit_code_ = -1;
    } else if (WIFEXITED(status)) {
      impl_->exit_code_ = WEXITSTATUS(status);
    } else {
      impl_->exit_code_ = 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    }
  }
  return impl_->exit_code_;
}

}  // namespace platform
