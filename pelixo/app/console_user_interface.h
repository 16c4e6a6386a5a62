// The user interface of the command line: the file dialogs are answered by
// arguments given beforehand, message and error boxes print their text on
// stderr, every line after the program and command ("pelixo send: ..."),
// and there is no window to disable beyond a flag that the external
// program's worker sets.
#ifndef PELIXO_APP_CONSOLE_USER_INTERFACE_H_
#define PELIXO_APP_CONSOLE_USER_INTERFACE_H_

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "pelixo/app/user_interface.h"

namespace pelixo {

// Prints `text` on stderr, each of its lines after "`command`: ", so that
// every line tells where it comes from (user texts and usages have several).
void TellOnStderr(std::string_view command, std::string_view text);

class ConsoleUserInterface : public UserInterface {
 public:
  // `command` starts every line printed ("pelixo send").
  explicit ConsoleUserInterface(std::string command = "pelixo") : command_(std::move(command)) {}

  // Nothing: that dialog is cancelled.
  void set_open_file(std::optional<std::string> path) { open_file_ = std::move(path); }
  void set_save_file(std::optional<std::string> path) { save_file_ = std::move(path); }

  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  void ShowError(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void Note(const std::string& text) override;
  void SetWaitCursor(bool /*on*/) override {}
  void EnableMainWindow(bool enabled) override;
  bool IsMainWindowEnabled() override;
  // Without messages to handle, waits until the window is enabled.
  void ProcessMessages() override;
  void FocusJobName() override {}

 private:
  std::string command_;
  std::optional<std::string> open_file_;
  std::optional<std::string> save_file_;
  std::mutex mutex_;
  std::condition_variable enabled_changed_;
  bool enabled_ = true;
};

}  // namespace pelixo

#endif  // PELIXO_APP_CONSOLE_USER_INTERFACE_H_
