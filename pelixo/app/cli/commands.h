// The subcommands of the `pelixo` command line. Each takes the arguments
// after its own name and returns the exit code: 0 done, 1 error (message on
// stderr), 2 usage error.
#ifndef PELIXO_APP_CLI_COMMANDS_H_
#define PELIXO_APP_CLI_COMMANDS_H_

namespace pelixo {

inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

int RunFormatsCommand(int argc, char** argv);
int RunSendCommand(int argc, char** argv);
int RunExportCommand(int argc, char** argv);
int RunReceiveCommand(int argc, char** argv);

}  // namespace pelixo

#endif  // PELIXO_APP_CLI_COMMANDS_H_
