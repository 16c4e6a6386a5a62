// What a program tells the platform layer at start-up, before anything
// else: the environment variables through which tests and automated runs
// switch the layer's behaviour, and where its settings store lies. The
// variables are read at each use, so that a change of the environment
// counts at once. A variable left unnamed switches nothing.
#ifndef PLATFORM_SWITCHES_H_
#define PLATFORM_SWITCHES_H_

#include <string>

namespace platform {

struct Switches {
  // The posix settings store (registry.h): the file the variable names, else
  // this path below the home folder.
  const char* store_variable = nullptr;
  const char* store_in_home = "/.config/registry.reg";
  // A write to a target whose path contains the variable's value fails as a
  // full disk would (file_output.h): root ignores read-only folders, so
  // permissions cannot make writes fail.
  const char* failing_writes_variable = nullptr;
  // The first character of the variable's value is the decimal separator
  // instead of the locale's (locale.h).
  const char* decimal_separator_variable = nullptr;
  // Message boxes print on stderr when either variable is "stderr"
  // (message_box.h; on posix they always do).
  const char* boxes_on_stderr_variables[2] = {nullptr, nullptr};
};

// Called once by each program's main (a library without one: at its
// entries), before the layer is used.
void SetSwitches(const Switches& switches);
const Switches& CurrentSwitches();

// The value of the variable `variable` names; empty when it is unset or
// unnamed.
std::string SwitchValue(const char* variable);

}  // namespace platform

#endif  // PLATFORM_SWITCHES_H_
