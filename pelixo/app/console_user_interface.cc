#include "pelixo/app/console_user_interface.h"

#include <cstdio>

#include "platform/files.h"

namespace pelixo {

std::optional<std::string> ConsoleUserInterface::ChooseOpenFile(
    const FileDialogRequest& /*request*/) {
  // An open dialog gives a full path, and external programs take the folder
  // of UploadFile from it: a relative argument is made absolute.
  if (!open_file_) return std::nullopt;
  return platform::AbsolutePath(*open_file_);
}

std::optional<std::string> ConsoleUserInterface::ChooseSaveFile(
    const FileDialogRequest& /*request*/) {
  return save_file_;
}

void ConsoleUserInterface::ShowError(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

void ConsoleUserInterface::ShowMessage(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

void ConsoleUserInterface::EnableMainWindow(bool enabled) {
  std::lock_guard<std::mutex> lock(mutex_);
  enabled_ = enabled;
  enabled_changed_.notify_all();
}

bool ConsoleUserInterface::IsMainWindowEnabled() {
  std::lock_guard<std::mutex> lock(mutex_);
  return enabled_;
}

void ConsoleUserInterface::ProcessMessages() {
  std::unique_lock<std::mutex> lock(mutex_);
  enabled_changed_.wait(lock, [this] { return enabled_; });
}

}  // namespace pelixo
