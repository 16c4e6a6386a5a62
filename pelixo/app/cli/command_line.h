// What the subcommands of `pelixo` share: reading "--name VALUE" and
// "--name=VALUE" options and the operand, usage errors, and finding a
// format definition by its name.
#ifndef PELIXO_APP_CLI_COMMAND_LINE_H_
#define PELIXO_APP_CLI_COMMAND_LINE_H_

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// An option whose value is taken as it stands ("--out"): where the value
// goes.
struct TextOption {
  std::string_view name;
  std::optional<std::string>* value;
};

// An option whose value is one of a list: where the value's position in
// `choices` goes.
struct ChoiceOption {
  std::string_view name;
  std::span<const char* const> choices;
  std::optional<int>* value;
};

// An option without a value ("--device"): set when given.
struct FlagOption {
  std::string_view name;
  bool* value;
};

// The arguments a subcommand takes.
struct ArgumentHandlers {
  std::vector<FlagOption> flags;
  // "--name VALUE" or "--name=VALUE".
  std::vector<TextOption> text_options;
  std::vector<ChoiceOption> choice_options;
  // The one other argument, as the usage names it ("INPUT"), and where it
  // goes; without, no other argument is taken.
  const char* operand_name = nullptr;
  std::optional<std::string>* operand = nullptr;
};

// Walks the arguments: "--help" prints the usage on stdout (exit code
// kExitOk); an argument not taken, an option without its value or a value
// not among the choices is a usage error. Nothing when every argument was
// taken.
std::optional<int> ReadArguments(const CommandSyntax& syntax, int argc, char** argv,
                                 const ArgumentHandlers& handlers);

// An argument a subcommand cannot do without: whether it was given, and
// how the usage names it ("--format NAME").
struct RequiredArgument {
  bool given;
  const char* what;
};
// The usage error "<what> is required" of the first argument not given.
std::optional<int> RequireArguments(const CommandSyntax& syntax,
                                    std::initializer_list<RequiredArgument> arguments);

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
