#include "pelixo/app/console_user_interface.h"

#include <cstdio>
#include <string_view>

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

void ConsoleUserInterface::ShowError(const std::string& text) { Note(text); }

void ConsoleUserInterface::ShowMessage(const std::string& text) { Note(text); }

void ConsoleUserInterface::Note(const std::string& text) { TellOnStderr(command_, text); }

void TellOnStderr(std::string_view command, std::string_view text) {
  std::string lines;
  std::string_view rest = text;
  if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
  do {
    size_t end = rest.find('\n');
    lines += command;
    lines += ": ";
    lines += rest.substr(0, end);
    lines += '\n';
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  } while (!rest.empty());
  std::fputs(lines.c_str(), stderr);
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
