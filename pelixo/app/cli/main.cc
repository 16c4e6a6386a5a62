// The `pelixo` command line: the same drivers as the window, with dialogs
// answered by arguments and message boxes printed on stderr.
#include <cstdio>
#include <cstring>
#include <string>

#include "pelixo/app/cli/commands.h"
#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/switches.h"
#include "platform/interrupt.h"
#include "platform/switches.h"

namespace {

constexpr char kUsage[] =
    "usage: pelixo <command> [options]\n"
    "commands:\n"
    "  formats   list the format definitions of a Formats.ini\n"
    "  send      convert an ASCII file into a DC job\n"
    "  export    write the points of a DC job to an ASCII file\n"
    "  receive   receive jobs from the field device into ASCII files\n"
    "Run 'pelixo <command> --help' for the options of a command.\n";

struct Command {
  const char* name;
  int (*run)(int argc, char** argv);
};

constexpr Command kCommands[] = {{"formats", pelixo::RunFormatsCommand},
                                 {"send", pelixo::RunSendCommand},
                                 {"export", pelixo::RunExportCommand},
                                 {"receive", pelixo::RunReceiveCommand}};

}  // namespace

int main(int argc, char** argv) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  platform::RemoveTemporaryFilesOnInterrupt();
  if (argc < 2) {
    pelixo::TellOnStderr("pelixo", kUsage);
    return pelixo::kExitUsage;
  }
  const char* command = argv[1];
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "help") == 0) {
    std::fputs(kUsage, stdout);
    return pelixo::kExitOk;
  }
  for (const Command& known : kCommands) {
    if (std::strcmp(command, known.name) == 0) return known.run(argc - 2, argv + 2);
  }
  pelixo::TellOnStderr("pelixo", "unknown command \"" + std::string(command) + "\"\n" + kUsage);
  return pelixo::kExitUsage;
}
