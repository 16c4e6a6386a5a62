// `pelixo export`: the ASCII export of a received DC file from the command
// line, through a download definition, with the points file of its job for
// the measured points. The save dialog is answered by --out; DownloadFile
// is stored and the definition's external program runs, as in a receive.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "pelixo/app/action_error.h"
#include "pelixo/app/cli/commands.h"
#include "pelixo/app/device_transfer.h"
#include "pelixo/app/receive_driver.h"
#include "pelixo/app/receive_driver_console.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text.h"
#include "pelixo/core/tic_points.h"
#include "platform/files.h"

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
  std::string ini_path;
  std::optional<std::string> format, tic, out, dc_file;
};

int UsageError(const std::string& message) {
  std::fprintf(stderr, "pelixo export: %s\n%s", message.c_str(), kExportUsage);
  return kExitUsage;
}

std::optional<int> ParseArguments(int argc, char** argv, ExportArguments* args) {
  for (int i = 0; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(kExportUsage, stdout);
      return kExitOk;
    }
    if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      std::string name(arg);
      std::optional<std::string> value;
      if (size_t equals = name.find('='); equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
      } else if (i + 1 < argc) {
        value = argv[++i];
      }
      if (!value) return UsageError(name + " needs a value");
      if (name == "--ini") {
        args->ini_path = *value;
      } else if (name == "--format") {
        args->format = *value;
      } else if (name == "--tic") {
        args->tic = *value;
      } else if (name == "--out") {
        args->out = *value;
      } else {
        return UsageError("unknown option \"" + name + "\"");
      }
      continue;
    }
    if (args->dc_file) return UsageError("more than one DCFILE: \"" + std::string(arg) + "\"");
    args->dc_file = std::string(arg);
  }
  if (!args->format) return UsageError("--format NAME is required");
  if (!args->out) return UsageError("--out OUT is required");
  if (!args->dc_file) return UsageError("DCFILE is required");
  return std::nullopt;
}

}  // namespace

int RunExportCommand(int argc, char** argv) {
  ExportArguments args;
  args.ini_path = DefaultFormatsIniPath();
  if (std::optional<int> exit_code = ParseArguments(argc, argv, &args)) return *exit_code;

  TUserTexts texts;
  texts.LoadTextLibrary(platform::ExecutableDirectory());
  TFormatDefinitions definitions;
  if (!definitions.Load(args.ini_path)) {
    std::fprintf(stderr, "pelixo export: %s: %s\n", args.ini_path.c_str(),
                 texts.GetUserText(kTextNoFormats).c_str());
    return kExitError;
  }
  std::optional<int> position = DownloadPosition(definitions, *args.format);
  if (!position) {
    return UsageError("no download definition \"" + *args.format + "\" in " + args.ini_path +
                      "; download definitions: " + DownloadNames(definitions));
  }
  if (!platform::FileExists(*args.dc_file)) {
    std::fprintf(stderr, "pelixo export: %s: no such file\n", args.dc_file->c_str());
    return kExitError;
  }

  ReceiveConsoleUserInterface ui("pelixo export", *args.out);
  std::optional<TTICPointhandler> points;
  std::string tic_path = args.tic.value_or(ChangeFileExtension(*args.dc_file, ".tic"));
  if (args.tic || platform::FileExists(tic_path)) {
    points.emplace();
    if (platform::Status loaded = points->LoadFromFile(tic_path); !loaded) {
      ui.ShowError(loaded.error().message());
      return kExitError;
    }
  } else {
    ui.Note("no points file " + tic_path + ": measured points are not written");
  }

  TDeviceTransfer device(ui, texts);
  TReceiveDriver driver(ui, texts, definitions, device);
  try {
    driver.ExportDCFile(*args.dc_file, *position, points ? &*points : nullptr);
  } catch (const std::exception& error) {
    ui.ShowError(error.what());
  }
  return ui.errors() > 0 ? kExitError : kExitOk;
}

}  // namespace pelixo
