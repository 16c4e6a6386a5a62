#include "platform/locale.h"

#include "platform/backend.h"
#include "platform/switches.h"

namespace platform {

char LocaleDecimalSeparator() {
  std::string forced = SwitchValue(CurrentSwitches().decimal_separator_variable);
  if (!forced.empty()) return forced[0];
  return backend::SystemDecimalSeparator();
}

std::string LocaleShortMonthName(int month) {
  static const char* const kEnglish[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12) return "";
  std::string name = backend::SystemShortMonthName(month);
  return name.empty() ? kEnglish[month - 1] : name;
}

}  // namespace platform
