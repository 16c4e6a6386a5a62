// `pelixo formats [--ini FILE]`: lists the definitions of a Formats.ini.
#include <cstdio>
#include <cstring>
#include <string>

#include "pelixo/app/cli/commands.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"

namespace pelixo {
namespace {

constexpr char kFormatsUsage[] =
    "usage: pelixo formats [--ini FILE]\n"
    "Lists the format definitions of FILE (default: Formats.ini beside the\n"
    "program), one line each: INDEX, upload or download, NAME, EXTENSION.\n";

}  // namespace

int RunFormatsCommand(int argc, char** argv) {
  std::string ini_path = DefaultFormatsIniPath();
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kFormatsUsage, stdout);
      return kExitOk;
    }
    if (std::strcmp(argv[i], "--ini") == 0 && i + 1 < argc) {
      ini_path = argv[++i];
      continue;
    }
    std::fprintf(stderr, "pelixo formats: unexpected argument \"%s\"\n%s", argv[i],
                 kFormatsUsage);
    return kExitUsage;
  }
  TFormatDefinitions definitions;
  if (!definitions.Load(ini_path)) {
    std::fprintf(stderr, "pelixo: %s: %s\n", ini_path.c_str(),
                 OwnUserText(kTextNoFormats).c_str());
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
