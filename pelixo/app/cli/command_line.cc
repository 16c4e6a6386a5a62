#include "pelixo/app/cli/command_line.h"

#include <cstdio>

#include "pelixo/app/cli/commands.h"
#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/options_form.h"
#include "pelixo/core/text.h"
#include "platform/files.h"

namespace pelixo {

namespace {

std::optional<int> DefinitionPosition(const TFormatDefinitions& definitions,
                                      const std::string& name, bool upload) {
  for (bool exact : {true, false}) {
    int position = 0;
    for (int i = 0; i < definitions.Count(); ++i) {
      const TFormatDefinition& definition = definitions[i];
      if (definition.Upload != upload) continue;
      if (exact ? definition.Name == name : EqualsIgnoreCase(definition.Name, name)) {
        return position;
      }
      ++position;
    }
  }
  return std::nullopt;
}

std::string DefinitionNames(const TFormatDefinitions& definitions, bool upload) {
  std::string names;
  for (int i = 0; i < definitions.Count(); ++i) {
    if (definitions[i].Upload != upload) continue;
    if (!names.empty()) names += ", ";
    names += "\"" + definitions[i].Name + "\"";
  }
  return names.empty() ? "none" : names;
}

}  // namespace

int UsageError(const CommandSyntax& syntax, const std::string& message) {
  TellOnStderr(syntax.name, message + "\n" + syntax.usage);
  return kExitUsage;
}

std::string UnknownOption(const std::string& name) {
  return "unknown option \"" + name + "\"";
}

std::optional<int> ReadArguments(const CommandSyntax& syntax, int argc, char** argv,
                                 const ArgumentHandlers& handlers) {
  for (int i = 0; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(syntax.usage, stdout);
      return kExitOk;
    }
    if (handlers.flag && handlers.flag(arg)) continue;
    std::string error;
    if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      std::string name(arg);
      std::optional<std::string> value;
      if (size_t equals = name.find('='); equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
      } else if (i + 1 < argc) {
        value = argv[++i];
      }
      if (!value) return UsageError(syntax, name + " needs a value");
      error = handlers.option(name, *value);
    } else {
      error = handlers.operand(arg);
    }
    if (!error.empty()) return UsageError(syntax, error);
  }
  return std::nullopt;
}

bool StoreTextOption(std::initializer_list<TextOption> options, std::string_view name,
                     const std::string& value) {
  for (const TextOption& option : options) {
    if (option.name == name) {
      *option.value = value;
      return true;
    }
  }
  return false;
}

std::optional<int> ChooseDefinition(const CommandSyntax& syntax,
                                    const std::optional<std::string>& ini_path,
                                    const std::string& name, bool upload,
                                    ChosenDefinition* chosen) {
  chosen->ini_path = ini_path.value_or(DefaultFormatsIniPath());
  chosen->texts.LoadTextLibrary(platform::ExecutableDirectory());
  // A Formats.ini whose sections are all empty defines nothing either.
  if (!chosen->definitions.Load(chosen->ini_path) || chosen->definitions.Count() == 0) {
    TellOnStderr(syntax.name,
                 chosen->ini_path + ": " + chosen->texts.GetUserText(kTextNoFormats));
    return kExitError;
  }
  std::optional<int> position = DefinitionPosition(chosen->definitions, name, upload);
  if (!position) {
    const char* kind = upload ? "upload" : "download";
    // A definition of the other direction is the likely slip: say so.
    if (DefinitionPosition(chosen->definitions, name, !upload)) {
      return UsageError(syntax, "\"" + name + "\" in " + chosen->ini_path + " is " +
                                    (upload ? "a download" : "an upload") +
                                    " definition; " + kind + " definitions: " +
                                    DefinitionNames(chosen->definitions, upload));
    }
    return UsageError(syntax, std::string("no ") + kind + " definition \"" + name + "\" in " +
                                  chosen->ini_path + "; " + kind + " definitions: " +
                                  DefinitionNames(chosen->definitions, upload));
  }
  chosen->position = *position;
  return std::nullopt;
}

}  // namespace pelixo
