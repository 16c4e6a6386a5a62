#include "pelixo/app/receive_driver_console.h"

#include <cstdio>

#include "pelixo/core/text.h"
#include "platform/files.h"

namespace pelixo {

std::optional<int> DownloadPosition(const TFormatDefinitions& definitions,
                                    const std::string& name) {
  for (bool exact : {true, false}) {
    int position = 0;
    for (int i = 0; i < definitions.Count(); ++i) {
      const TFormatDefinition& definition = definitions[i];
      if (definition.Upload) continue;
      if (exact ? definition.Name == name : EqualsIgnoreCase(definition.Name, name)) {
        return position;
      }
      ++position;
    }
  }
  return std::nullopt;
}

std::string DownloadNames(const TFormatDefinitions& definitions) {
  std::string names;
  for (int i = 0; i < definitions.Count(); ++i) {
    if (definitions[i].Upload) continue;
    if (!names.empty()) names += ", ";
    names += "\"" + definitions[i].Name + "\"";
  }
  return names.empty() ? "none" : names;
}

ReceiveConsoleUserInterface::ReceiveConsoleUserInterface(std::string command, std::string out)
    : command_(std::move(command)), out_(std::move(out)) {}

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

void ReceiveConsoleUserInterface::Note(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", command_.c_str(), text.c_str());
  std::fflush(stderr);
}

}  // namespace pelixo
