#include "pelixo/app/external_program.h"

#include <thread>
#include <utility>

#include "pelixo/app/user_interface.h"

namespace pelixo {
namespace {

// Pelixo waits without a time limit.
constexpr unsigned kWaitForever = 0xFFFFFFFFu;

}  // namespace

TMyThread::TMyThread(platform::Process process, UserInterface& ui)
    : shared_(std::make_shared<Shared>(std::move(process))), ui_(ui) {}

void TMyThread::Start() {
  std::thread([shared = shared_, &ui = ui_] {
    int code = shared->process.WaitForExit();
    ui.EnableMainWindow(true);
    {
      std::lock_guard<std::mutex> lock(shared->mutex);
      shared->exit_code = code;
      shared->done = true;
    }
    shared->ended.notify_all();
  }).detach();
}

int TMyThread::ExitCode() {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->ended.wait(lock, [this] { return shared_->done; });
  return shared_->exit_code;
}

std::optional<int> RunExternalProgram(UserInterface& ui,
                                      const std::string& command_line) {
  platform::Expected<platform::Process> process =
      platform::Process::Start(command_line);
  if (!process) return std::nullopt;
  ui.EnableMainWindow(false);
  process->WaitForInputIdle(kWaitForever);
  TMyThread worker(std::move(*process), ui);
  worker.Start();
  while (!ui.IsMainWindowEnabled()) ui.ProcessMessages();
  int exit_code = worker.ExitCode();
  ui.BringToForeground();
  return exit_code;
}

}  // namespace pelixo
