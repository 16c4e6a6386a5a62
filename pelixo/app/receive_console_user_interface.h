// The receive path on the command line: the save dialog of every exported
// job is answered by --out (a file, or a folder that takes the proposed
// names), remarks print on stderr, and the download definition is named
// rather than picked from a list.
#ifndef PELIXO_APP_RECEIVE_CONSOLE_USER_INTERFACE_H_
#define PELIXO_APP_RECEIVE_CONSOLE_USER_INTERFACE_H_

#include <optional>
#include <string>
#include <vector>

#include "pelixo/app/console_user_interface.h"

namespace pelixo {

class ReceiveConsoleUserInterface : public ConsoleUserInterface {
 public:
  // `out` names the file of the one export, or an existing folder that
  // takes every export under its proposed name. `command` starts every
  // line printed ("pelixo receive").
  ReceiveConsoleUserInterface(std::string command, std::string out);

  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  void ShowError(const std::string& text) override;

  int errors() const { return errors_; }

 private:
  std::string out_;
  std::vector<std::string> saved_files_;
  int errors_ = 0;
};

}  // namespace pelixo

#endif  // PELIXO_APP_RECEIVE_CONSOLE_USER_INTERFACE_H_
