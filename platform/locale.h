// The user's locale: decimal separator, short month names, local time,
// the encoding of the program's own words.
// A switch (switches.h) overrides the separator (tests of the comma
// locales run on machines set to a period).
#ifndef PLATFORM_LOCALE_H_
#define PLATFORM_LOCALE_H_

#include <string>
#include <string_view>

namespace platform {

// The program's own words, written in Windows-1252, as the user reads them:
// on posix in the encoding the locale names (UTF-8 under C.UTF-8), whether
// the words go to a terminal or not; the C locale and Windows keep the bytes.
// Only for the words themselves: file names and other texts put into a
// message are never converted, and files keep Windows-1252.
std::string OwnWords(std::string_view windows_1252);

char LocaleDecimalSeparator();
// The locale's short name of `month` (1 to 12).
std::string LocaleShortMonthName(int month);

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime CurrentLocalTime();

}  // namespace platform

#endif  // PLATFORM_LOCALE_H_
