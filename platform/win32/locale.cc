#include "platform/locale.h"

#include <windows.h>

namespace platform {
namespace backend {

char SystemDecimalSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer,
                     sizeof buffer) < 2) {
    return '.';
  }
  return buffer[0];
}

}  // namespace backend

// Message boxes and consoles take the ANSI code page's bytes as they are.
std::string OwnWords(std::string_view windows_1252) { return std::string(windows_1252); }

std::string LocaleShortMonthName(int month) {
  if (month < 1 || month > 12) return "";
  char buffer[80] = {};
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT,
                         LOCALE_SABBREVMONTHNAME1 + LCTYPE(month - 1), buffer,
                         sizeof buffer);
  if (n < 2) {
    static const char* const kEnglish[12] = {"Jan", "Feb", "Mar", "Apr",
                                             "May", "Jun", "Jul", "Aug",
                                             "Sep", "Oct", "Nov", "Dec"};
    return kEnglish[month - 1];
  }
  return std::string(buffer, size_t(n - 1));
}

LocalTime CurrentLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalTime t;
  t.year = now.wYear;
  t.month = now.wMonth;
  t.day = now.wDay;
  t.hour = now.wHour;
  t.minute = now.wMinute;
  t.second = now.wSecond;
  return t;
}

}  // namespace platform
