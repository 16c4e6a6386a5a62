// The user's locale: decimal separator, short month names, local time.
// A switch (switches.h) overrides the separator (tests of the comma
// locales run on machines set to a period).
#ifndef PLATFORM_LOCALE_H_
#define PLATFORM_LOCALE_H_

#include <string>

namespace platform {

char LocaleDecimalSeparator();
// The locale's short name of `month` (1 to 12).
std::string LocaleShortMonthName(int month);

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime CurrentLocalTime();

}  // namespace platform

#endif  // PLATFORM_LOCALE_H_
