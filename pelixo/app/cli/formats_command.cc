// `pelixo formats [--ini FILE]`: lists the definitions of a Formats.ini.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "pelixo/app/cli/command_line.h"
#include "pelixo/app/cli/commands.h"
#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"

namespace pelixo {
namespace {

constexpr char kFormatsUsage[] =
    "usage: pelixo formats [--ini FILE]\n"
    "Lists the format definitions of FILE (default: Formats.ini beside the\n"
    "program), one line each: INDEX, upload or download, NAME, EXTENSION.\n";

constexpr CommandSyntax kFormats = {"pelixo formats", kFormatsUsage};

}  // namespace

int RunFormatsCommand(int argc, char** argv) {
  std::optional<std::string> ini;
  ArgumentHandlers handlers;
  handlers.text_options = {{"--ini", &ini}};
  if (std::optional<int> exit_code = ReadArguments(kFormats, argc, argv, handlers)) {
    return *exit_code;
  }
  std::string ini_path = ini.value_or(DefaultFormatsIniPath());
  TFormatDefinitions definitions;
  if (!definitions.Load(ini_path)) {
    TellOnStderr("pelixo formats", ini_path + ": " + OwnUserText(kTextNoFormats));
    return kExitError;
  }
  for (int i = 0; i < definitions.Count(); ++i) {
    const TFormatDefinition& definition = definitions[i];
    std::printf("%d\t%s\t%s\t%s\n", i, definition.Upload ? "upload" : "download",
                definition.Name.c_str(), definition.Extension.c_str());
  }
  return kExitOk;
}

}  // namespace pelixo
