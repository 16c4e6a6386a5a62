// What the subcommands of `pelixo` share: reading "--name VALUE" and
// "--name=VALUE" options, usage errors, and finding a format definition by
// its name.
#ifndef PELIXO_APP_CLI_COMMAND_LINE_H_
#define PELIXO_APP_CLI_COMMAND_LINE_H_

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"

namespace pelixo {

// A subcommand: its name as messages show it ("pelixo send") and its usage.
struct CommandSyntax {
  const char* name;
  const char* usage;
};

// Prints "<name>: <message>" and the usage on stderr; returns kExitUsage.
int UsageError(const CommandSyntax& syntax, const std::string& message);

// What a subcommand does with each argument. The handlers return an error
// message, or an empty text when the argument is taken.
struct ArgumentHandlers {
  // Options without a value ("--device"); true when `arg` is one.
  std::function<bool(std::string_view arg)> flag;
  // "--name VALUE" or "--name=VALUE".
  std::function<std::string(const std::string& name, const std::string& value)> option;
  // Every other argument.
  std::function<std::string(std::string_view arg)> operand;
};

// Walks the arguments: "--help" prints the usage on stdout (exit code
// kExitOk); a handler's error, or an option without its value, is a usage
// error. Nothing when every argument was taken.
std::optional<int> ReadArguments(const CommandSyntax& syntax, int argc, char** argv,
                                 const ArgumentHandlers& handlers);

// The error message of an option no handler knows.
std::string UnknownOption(const std::string& name);

// An option whose value is taken as it stands: its name ("--out") and where
// the value goes.
struct TextOption {
  std::string_view name;
  std::optional<std::string>* value;
};
// Stores `value` for the option called `name`; false when none is.
bool StoreTextOption(std::initializer_list<TextOption> options, std::string_view name,
                     const std::string& value);

// The definitions a subcommand works with and the one it was asked for.
struct ChosenDefinition {
  TUserTexts texts;
  TFormatDefinitions definitions;
  std::string ini_path;
  int position = 0;  // in the upload (or download) list
};

// Loads the text library beside the program and the definitions of
// `ini_path` (unset: Formats.ini beside the program) and finds the upload
// (or download) definition `name`: the exact name, else one that differs
// only in letter case. When that fails it is said on stderr, naming the
// file (and the definitions there are), and the exit code is returned.
std::optional<int> ChooseDefinition(const CommandSyntax& syntax,
                                    const std::optional<std::string>& ini_path,
                                    const std::string& name, bool upload,
                                    ChosenDefinition* chosen);

}  // namespace pelixo

#endif  // PELIXO_APP_CLI_COMMAND_LINE_H_
