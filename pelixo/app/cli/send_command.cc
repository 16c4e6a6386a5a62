// `pelixo send`: the send path of the window from the command line, into a
// DC file or (--device) through Syncrona onto the field device. The open and save dialogs are answered by INPUT and --out, boxes
// print on stderr. Options not given take the stored Send options (or their
// defaults); the given ones hold for this run only and are not stored.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "pelixo/app/cli/command_line.h"
#include "pelixo/app/cli/commands.h"
#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/device_transfer.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/send_driver.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text.h"
#include "platform/files.h"

namespace pelixo {
namespace {

constexpr char kSendUsage[] =
    "usage: pelixo send [--ini FILE] --format NAME --job JOB (--out OUT.DC | --device)\n"
    "                   [--dc-version 10.7|10.0|7.7|7.5]\n"
    "                   [--coord-units meters|feet|us-feet]\n"
    "                   [--angle-units degrees|gons|mils]\n"
    "                   [--coordsys FILE] INPUT\n"
    "Reads INPUT through the upload definition NAME of FILE (default:\n"
    "Formats.ini beside the program), runs its external program, and writes\n"
    "the DC job JOB to OUT.DC, or with --device hands it to the field device\n"
    "through Syncrona's selection component. Options not given take the stored\n"
    "settings.\n";

struct SendArguments {
  std::optional<std::string> ini_path, format, job, out, input, coordsys;
  std::optional<int> dc_version, coord_units, angle_units;
  bool device = false;  // --device: the field device instead of --out
};

constexpr CommandSyntax kSend = {"pelixo send", kSendUsage};

constexpr const char* kVersionNames[] = {"10.7", "10.0", "7.7", "7.5"};
constexpr const char* kCoordUnitNames[] = {"meters", "feet", "us-feet"};
constexpr const char* kAngleUnitNames[] = {"degrees", "gons", "mils"};

// Parses the arguments; an exit code when they are not usable.
std::optional<int> ParseArguments(int argc, char** argv, SendArguments* args) {
  ArgumentHandlers handlers;
  handlers.flags = {{"--device", &args->device}};
  handlers.text_options = {{"--ini", &args->ini_path}, {"--format", &args->format},
                           {"--job", &args->job},      {"--out", &args->out},
                           {"--coordsys", &args->coordsys}};
  handlers.choice_options = {{"--dc-version", kVersionNames, &args->dc_version},
                             {"--coord-units", kCoordUnitNames, &args->coord_units},
                             {"--angle-units", kAngleUnitNames, &args->angle_units}};
  handlers.operand_name = "INPUT";
  handlers.operand = &args->input;
  if (std::optional<int> exit_code = ReadArguments(kSend, argc, argv, handlers)) {
    return exit_code;
  }
  if (std::optional<int> exit_code = RequireArguments(
          kSend, {{args->format.has_value(), "--format NAME"}, {args->job.has_value(), "--job JOB"}})) {
    return exit_code;
  }
  if (args->device && args->out) return UsageError(kSend, "--out and --device exclude each other");
  return RequireArguments(kSend, {{args->out || args->device, "--out OUT.DC or --device"},
                                  {args->input.has_value(), "INPUT"}});
}

}  // namespace

int RunSendCommand(int argc, char** argv) {
  SendArguments args;
  if (std::optional<int> exit_code = ParseArguments(argc, argv, &args)) {
    return *exit_code;
  }
  ChosenDefinition chosen;
  if (std::optional<int> exit_code = ChooseDefinition(kSend, args.ini_path, *args.format,
                                                      /*upload=*/true, &chosen)) {
    return *exit_code;
  }
  const TUserTexts& texts = chosen.texts;

  ConsoleUserInterface ui("pelixo send");
  TOptionsForm options(texts);
  if (platform::Status loaded = options.FormShow(); !loaded) {
    ui.ShowError(loaded.error().message());
  }
  if (args.coordsys) options.options().coord_sys_file = *args.coordsys;
  if (args.dc_version) options.options().dc_file_version = *args.dc_version;
  if (args.coord_units) options.options().coord_units = *args.coord_units;
  if (args.angle_units) options.options().angle_units = *args.angle_units;

  ui.set_open_file(*args.input);
  if (args.out) ui.set_save_file(*args.out);
  TDeviceTransfer device(ui, texts);
  TSendDriver driver(ui, texts, chosen.definitions, options, &device);
  SendSelection selection;
  selection.job_name = *args.job;
  selection.upload_format_index = chosen.position;
  selection.write_to_dc_file = !args.device;
  if (driver.SendAsciiFile(selection) != SendOutcome::kDone) return kExitError;

  const SendCounts& counts = driver.counts();
  std::string summary = "pelixo send: " +
                        CountOf(counts.points_written, "point", "points") + " written, " +
                        CountOf(counts.lines_skipped, "input line", "input lines") +
                        " skipped, " + CountOf(counts.values_cut, "value", "values") +
                        " cut to 16 characters\n";
  std::fputs(summary.c_str(), stderr);
  return kExitOk;
}

}  // namespace pelixo
