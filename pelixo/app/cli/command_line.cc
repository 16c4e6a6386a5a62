#include "pelixo/app/cli/command_line.h"

#include <cstdio>

#include "pelixo/app/cli/commands.h"
#include "pelixo/app/console_user_interface.h"
#include "pelixo/app/options_form.h"
#include "pelixo/core/text.h"
#include "text/ascii.h"
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
      if (exact ? definition.Name == name : text::EqualsIgnoreCase(definition.Name, name)) {
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

// The error of "--name VALUE", or the empty text when an option took it.
std::string TakeOption(const ArgumentHandlers& handlers, const std::string& name,
                       const std::string& value) {
  for (const TextOption& option : handlers.text_options) {
    if (option.name != name) continue;
    *option.value = value;
    return std::string();
  }
  for (const ChoiceOption& option : handlers.choice_options) {
    if (option.name != name) continue;
    std::string listed;
    for (size_t i = 0; i < option.choices.size(); ++i) {
      if (value == option.choices[i]) {
        *option.value = static_cast<int>(i);
        return std::string();
      }
      if (i > 0) listed += i + 1 < option.choices.size() ? ", " : " or ";
      listed += option.choices[i];
    }
    return name + " takes " + listed + ", not \"" + value + "\"";
  }
  return "unknown option \"" + name + "\"";
}

// The error of an argument that is no option, or the empty text.
std::string TakeOperand(const ArgumentHandlers& handlers, std::string_view arg) {
  if (handlers.operand == nullptr) return "unexpected argument \"" + std::string(arg) + "\"";
  if (*handlers.operand) {
    return std::string("more than one ") + handlers.operand_name + ": \"" + std::string(arg) +
           "\"";
  }
  *handlers.operand = std::string(arg);
  return std::string();
}

bool TakeFlag(const ArgumentHandlers& handlers, std::string_view arg) {
  for (const FlagOption& flag : handlers.flags) {
    if (flag.name != arg) continue;
    *flag.value = true;
    return true;
  }
  return false;
}

}  // namespace

int UsageError(const CommandSyntax& syntax, const std::string& message) {
  TellOnStderr(syntax.name, message + "\n" + syntax.usage);
  return kExitUsage;
}

std::optional<int> ReadArguments(const CommandSyntax& syntax, int argc, char** argv,
                                 const ArgumentHandlers& handlers) {
  for (int i = 0; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(syntax.usage, stdout);
      return kExitOk;
    }
    if (TakeFlag(handlers, arg)) continue;
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
      error = TakeOption(handlers, name, *value);
    } else {
      error = TakeOperand(handlers, arg);
    }
    if (!error.empty()) return UsageError(syntax, error);
  }
  return std::nullopt;
}

std::optional<int> RequireArguments(const CommandSyntax& syntax,
                                    std::initializer_list<RequiredArgument> arguments) {
  for (const RequiredArgument& argument : arguments) {
    if (!argument.given) return UsageError(syntax, std::string(argument.what) + " is required");
  }
  return std::nullopt;
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
    const std::string kind = upload ? "upload" : "download";
    const std::string listed =
        "; " + kind + " definitions: " + DefinitionNames(chosen->definitions, upload);
    // A definition of the other direction is the likely slip: say so.
    if (DefinitionPosition(chosen->definitions, name, !upload)) {
      return UsageError(syntax, "\"" + name + "\" in " + chosen->ini_path + " is " +
                                    (upload ? "a download" : "an upload") + " definition" +
                                    listed);
    }
    return UsageError(syntax,
                      "no " + kind + " definition \"" + name + "\" in " + chosen->ini_path + listed);
  }
  chosen->position = *position;
  return std::nullopt;
}

}  // namespace pelixo
