// `pelixo export`: the ASCII export of a received DC file from the command
// line, through a download definition, with the points file of its job for
// the measured points. The save dialog is answered by --out; DownloadFile
// is stored and the definition's external program runs, as in a receive.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pelixo/app/action_error.h"
#include "pelixo/app/cli/command_line.h"
#include "pelixo/app/cli/commands.h"
#include "pelixo/app/device_transfer.h"
#include "pelixo/app/receive_console_user_interface.h"
#include "pelixo/app/receive_driver.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/dc_reader.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text.h"
#include "pelixo/core/tic_points.h"
#include "platform/file_content.h"
#include "platform/files.h"
#include "platform/path.h"

namespace pelixo {
namespace {

constexpr char kExportUsage[] =
    "usage: pelixo export [--ini FILE] --format NAME [--tic FILE] --out OUT DCFILE\n"
    "Writes the points of DCFILE to OUT through the download definition NAME\n"
    "of FILE (default: Formats.ini beside the program), the measured points\n"
    "with the co-ordinates of the points file (default: DCFILE with the\n"
    "extension .tic, when it exists), stores OUT as DownloadFile and runs the\n"
    "definition's external program.\n";

struct ExportArguments {
  std::optional<std::string> ini_path, format, tic, out, dc_file;
};

constexpr CommandSyntax kExport = {"pelixo export", kExportUsage};

std::optional<int> ParseArguments(int argc, char** argv, ExportArguments* args) {
  ArgumentHandlers handlers;
  handlers.text_options = {{"--ini", &args->ini_path},
                           {"--format", &args->format},
                           {"--tic", &args->tic},
                           {"--out", &args->out}};
  handlers.operand_name = "DCFILE";
  handlers.operand = &args->dc_file;
  if (std::optional<int> exit_code = ReadArguments(kExport, argc, argv, handlers)) {
    return exit_code;
  }
  return RequireArguments(kExport, {{args->format.has_value(), "--format NAME"},
                                    {args->out.has_value(), "--out OUT"},
                                    {args->dc_file.has_value(), "DCFILE"}});
}

// True when the DC file has measured points, which only a points file can
// place.
bool HasMeasuredPoints(std::string_view dc_text) {
  DCPointReader reader(dc_text, /*points=*/nullptr);
  DCPointValues point;
  std::vector<std::string_view> attributes;
  while (reader.Next(&point, &attributes)) {
  }
  return reader.measured_without_coordinates() > 0;
}

}  // namespace

int RunExportCommand(int argc, char** argv) {
  ExportArguments args;
  if (std::optional<int> exit_code = ParseArguments(argc, argv, &args)) return *exit_code;
  ChosenDefinition chosen;
  if (std::optional<int> exit_code = ChooseDefinition(kExport, args.ini_path, *args.format,
                                                      /*upload=*/false, &chosen)) {
    return *exit_code;
  }
  if (!platform::FileExists(*args.dc_file)) {
    TellOnStderr(kExport.name, *args.dc_file + ": no such file");
    return kExitError;
  }

  // Read once for the note on measured points and the export; a file that
  // cannot be read says so in the export.
  platform::Expected<platform::FileContent> dc_file = platform::FileContent::Read(*args.dc_file);
  ReceiveConsoleUserInterface ui("pelixo export", *args.out);
  std::optional<TTICPointhandler> points;
  std::string tic_path = args.tic.value_or(platform::ReplaceExtension(*args.dc_file, ".tic"));
  if (args.tic || platform::FileExists(tic_path)) {
    points.emplace();
    if (platform::Status loaded = points->LoadFromFile(tic_path); !loaded) {
      ui.ShowError(loaded.error().message());
      return kExitError;
    }
  } else if (dc_file && HasMeasuredPoints(dc_file->bytes())) {
    ui.Note("no points file " + tic_path + ": measured points are not written");
  }

  TDeviceTransfer device(ui, chosen.texts);
  TReceiveDriver driver(ui, chosen.texts, chosen.definitions, device);
  try {
    if (!dc_file) throw ActionError(dc_file.error().message());
    driver.ExportDCText(*args.dc_file, dc_file->bytes(), chosen.position,
                        points ? &*points : nullptr);
  } catch (const std::exception& error) {
    ui.ShowError(error.what());
  }
  return ui.errors() > 0 ? kExitError : kExitOk;
}

}  // namespace pelixo
