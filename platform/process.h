// Starting a program from a command line and waiting for it. On posix the
// command line is split into arguments with the Windows quoting rules, so a
// definition's command line means the same on both builds.
#ifndef PLATFORM_PROCESS_H_
#define PLATFORM_PROCESS_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/impl_ptr.h"

namespace platform {

// The arguments of a Windows command line (the rules of CommandLineToArgvW:
// the program name ends at the next blank or, when quoted, the next quote;
// backslashes before a quote are halved).
std::vector<std::string> SplitCommandLine(std::string_view command_line);

// The timeout of a wait without a time limit (win32 INFINITE).
inline constexpr unsigned kWaitForever = 0xFFFFFFFFu;

// Dropping a Process closes its handles; the program runs on.
class Process {
 public:
  // Starts the program of `command_line`: the first token names the program,
  // found by the system's usual search; an Error names the command line when
  // it cannot start.
  static Expected<Process> Start(const std::string& command_line);

  // Waits until the program is ready for input (win32 WaitForInputIdle; a
  // no-op on posix).
  void WaitForInputIdle(unsigned timeout_ms);
  // Waits until the program has ended and returns its exit code.
  int WaitForExit();

  class Impl;

 private:
  explicit Process(ImplPtr<Impl> impl) : impl_(std::move(impl)) {}
  ImplPtr<Impl> impl_;
};

}  // namespace platform

#endif  // PLATFORM_PROCESS_H_
