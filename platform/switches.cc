#include "platform/switches.h"

#include "platform/backend.h"

namespace platform {
namespace {

// The layer's only setting of its own, written at start-up.
Switches& TheSwitches() {
  static Switches switches;
  return switches;
}

}  // namespace

void SetSwitches(const Switches& switches) { TheSwitches() = switches; }

const Switches& CurrentSwitches() { return TheSwitches(); }

std::string SwitchValue(const char* variable) {
  return variable != nullptr ? backend::GetEnv(variable) : std::string();
}

}  // namespace platform
