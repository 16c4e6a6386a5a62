// Starting the external program of a format definition and waiting for it.
// The main window is disabled while the program runs; a worker thread
// (`TMyThread`) waits for the program's end and enables the window again,
// while the user-interface thread keeps handling messages until it sees the
// window enabled.
#ifndef PELIXO_APP_EXTERNAL_PROGRAM_H_
#define PELIXO_APP_EXTERNAL_PROGRAM_H_

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/process.h"

namespace pelixo {

class UserInterface;

// The worker of one run: waits for the process to end, keeps its exit code
// and enables the main window. It owns what it needs, so it may outlive the
// caller's frame; the thread runs detached and frees itself.
class TMyThread {
 public:
  TMyThread(platform::Process process, UserInterface& ui);
  // Starts the thread.
  void Start();
  // Blocks until the worker has enabled the window and let go of the user
  // interface, then gives the exit code.
  int ExitCode();

 private:
  struct Shared {
    explicit Shared(platform::Process p) : process(std::move(p)) {}
    platform::Process process;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;  // the window is enabled, the ui no longer touched
    int exit_code = 0;
  };
  std::shared_ptr<Shared> shared_;
  UserInterface& ui_;
};

// Starts `command_line` as it stands (its first token names the program)
// and waits for the program to end. Nothing when it could not be started;
// otherwise its exit code.
std::optional<int> RunExternalProgram(UserInterface& ui,
                                      const std::string& command_line);

}  // namespace pelixo

#endif  // PELIXO_APP_EXTERNAL_PROGRAM_H_
