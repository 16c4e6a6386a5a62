// Inputs that are no regular file, for the tests of readers that must
// refuse them: a folder, a FIFO and a device. Posix only.
#ifndef TESTS_SUPPORT_SPECIAL_FILES_H_
#define TESTS_SUPPORT_SPECIAL_FILES_H_

#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace tests_support {

// A device that never ends: a reader that takes it reads without end.
inline constexpr char kEndlessDevice[] = "/dev/zero";

// A FIFO at `path`, removed at the end. While the object lives a thread
// keeps opening the writing end without waiting and closing it again, so
// that a reader that does not refuse the FIFO sees an empty file at once
// instead of waiting for a writer forever: such a test fails, never hangs.
class GuardedFifo {
 public:
  explicit GuardedFifo(std::string path) : path_(std::move(path)) {
    ::unlink(path_.c_str());
    made_ = ::mkfifo(path_.c_str(), 0600) == 0;
    if (made_) writer_ = std::thread([this] { KeepUnblocking(); });
  }
  ~GuardedFifo() {
    stop_ = true;
    if (writer_.joinable()) writer_.join();
    ::unlink(path_.c_str());
  }
  GuardedFifo(const GuardedFifo&) = delete;
  GuardedFifo& operator=(const GuardedFifo&) = delete;

  bool made() const { return made_; }
  const std::string& path() const { return path_; }

 private:
  void KeepUnblocking() {
    while (!stop_) {
      // Succeeds only while some reader has the FIFO open (or waits in
      // its open).
      const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::string path_;
  bool made_ = false;
  std::atomic<bool> stop_{false};
  std::thread writer_;
};

// Runs `body` in a child process and gives its exit code (the value `body`
// returns), or -1 when it has not ended within `seconds` and was killed: a
// reader that waits for a FIFO's writer makes the test fail, not hang.
inline int ExitCodeWithin(int seconds, const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  if (pid < 0) return -2;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}

}  // namespace tests_support

#endif  // _WIN32
#endif  // TESTS_SUPPORT_SPECIAL_FILES_H_
