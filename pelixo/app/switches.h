// Pelixo's environment switches of the platform layer, which its programs
// (and the stand-ins of its outside components) hand over at start-up.
#ifndef PELIXO_APP_SWITCHES_H_
#define PELIXO_APP_SWITCHES_H_

#include "platform/switches.h"

namespace pelixo {

inline platform::Switches PelixoSwitches() {
  platform::Switches switches;
  switches.store_variable = "PELIXO_REGISTRY";
  switches.store_in_home = "/.config/pelixo/registry.reg";
  switches.failing_writes_variable = "PELIXO_FAIL_WRITES";
  switches.decimal_separator_variable = "PELIXO_DECIMAL_SEPARATOR";
  // The Danvora programs' switch counts too: automated runs set either.
  switches.boxes_on_stderr_variables[0] = "PELIXO_BOXES";
  switches.boxes_on_stderr_variables[1] = "DANVORA_ALERTS";
  return switches;
}

}  // namespace pelixo

#endif  // PELIXO_APP_SWITCHES_H_
