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
  if (std::strcmp(command, "formats") == 0) {
    return pelixo::RunFormatsCommand(argc - 2, argv + 2);
  }
  if (std::strcmp(command, "send") == 0) {
    return pelixo::RunSendCommand(argc - 2, argv + 2);
  }
  if (std::strcmp(command, "export") == 0) {
    return pelixo::RunExportCommand(argc - 2, argv + 2);
  }
  if (std::strcmp(command, "receive") == 0) {
    return pelixo::RunReceiveCommand(argc - 2, argv + 2);
  }
  pelixo::TellOnStderr("pelixo", "unknown command \"" + std::string(command) + "\"\n" + kUsage);
  return pelixo::kExitUsage;
}
