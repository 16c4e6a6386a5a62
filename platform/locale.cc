#include "platform/locale.h"

#include "platform/backend.h"
#include "platform/switches.h"

namespace platform {
namespace backend {
char SystemDecimalSeparator();
}  // namespace backend

char LocaleDecimalSeparator() {
  std::string forced = SwitchValue(CurrentSwitches().decimal_separator_variable);
  if (!forced.empty()) return forced[0];
  return backend::SystemDecimalSeparator();
}

}  // namespace platform
