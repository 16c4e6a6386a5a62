// `pelixo receive`: the receive path of the window from the command line,
// through Syncrona's selection component: the jobs it receives are turned
// into points files by their job readers and exported through a download
// definition; --out answers the save dialog (a folder when several jobs
// come). Remarks on skipped jobs and boxes print on stderr.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "pelixo/app/cli/command_line.h"
#include "pelixo/app/cli/commands.h"
#include "pelixo/app/device_transfer.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/receive_console_user_interface.h"
#include "pelixo/app/receive_driver.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"
#include "platform/files.h"

namespace pelixo {
namespace {

constexpr char kReceiveUsage[] =
    "usage: pelixo receive [--ini FILE] --format NAME --out OUT\n"
    "Receives the jobs picked in Syncrona's selection component and writes each\n"
    "through the download definition NAME of FILE (default: Formats.ini beside\n"
    "the program) to OUT, or into the folder OUT under the proposed name when\n"
    "OUT is a folder. The received files of each job written are removed from\n"
    "the temporary directory afterwards unless the registry value Debug exists;\n"
    "those of a job not written stay. Exits 1 when any job was not written.\n";

struct ReceiveArguments {
  std::optional<std::string> ini_path, format, out;
};

constexpr CommandSyntax kReceive = {"pelixo receive", kReceiveUsage};

std::optional<int> ParseArguments(int argc, char** argv, ReceiveArguments* args) {
  ArgumentHandlers handlers;
  handlers.text_options = {
      {"--ini", &args->ini_path}, {"--format", &args->format}, {"--out", &args->out}};
  if (std::optional<int> exit_code = ReadArguments(kReceive, argc, argv, handlers)) {
    return exit_code;
  }
  return RequireArguments(kReceive, {{args->format.has_value(), "--format NAME"},
                                     {args->out.has_value(), "--out OUT"}});
}

}  // namespace

int RunReceiveCommand(int argc, char** argv) {
  ReceiveArguments args;
  if (std::optional<int> exit_code = ParseArguments(argc, argv, &args)) return *exit_code;
  ChosenDefinition chosen;
  if (std::optional<int> exit_code = ChooseDefinition(kReceive, args.ini_path, *args.format,
                                                      /*upload=*/false, &chosen)) {
    return *exit_code;
  }

  ReceiveConsoleUserInterface ui("pelixo receive", *args.out);
  TDeviceTransfer device(ui, chosen.texts);
  TReceiveDriver driver(ui, chosen.texts, chosen.definitions, device);
  driver.set_debug(DebugValuePresent());
  driver.set_keep_unwritten_jobs(true);
  driver.ReceiveFromDevice(chosen.position);
  std::string summary = "pelixo receive: " +
                        CountOf(driver.files_written(), "file", "files") + " written\n";
  std::fputs(summary.c_str(), stderr);
  // Every job received must have become a file: a skipped job, or one that
  // --out could not take, is a failure.
  bool all_written = driver.files_written() == driver.received_jobs();
  return ui.errors() > 0 || device.component_unavailable() || !all_written ? kExitError
                                                                          : kExitOk;
}

}  // namespace pelixo
