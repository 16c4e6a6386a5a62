#include "pelixo/app/receive_console_user_interface.h"

#include <utility>

#include "platform/files.h"
#include "platform/path.h"

namespace pelixo {

ReceiveConsoleUserInterface::ReceiveConsoleUserInterface(std::string command, std::string out)
    : ConsoleUserInterface(std::move(command)), out_(std::move(out)) {}

std::optional<std::string> ReceiveConsoleUserInterface::ChooseSaveFile(
    const FileDialogRequest& request) {
  std::string path;
  if (platform::DirectoryExists(out_)) {
    path = platform::WithTrailingSeparator(out_) + request.file_name;
  } else if (saved_files_.empty()) {
    path = out_;
  } else {
    Note("more than one job to save: --out must name a folder; \"" + request.file_name +
         "\" is not saved");
    return std::nullopt;
  }
  saved_files_.push_back(path);
  return path;
}

void ReceiveConsoleUserInterface::ShowError(const std::string& text) {
  ++errors_;
  ConsoleUserInterface::ShowError(text);
}

}  // namespace pelixo
