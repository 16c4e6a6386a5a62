#include "platform/locale.h"

#include <windows.h>

#include "platform/backend.h"

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

std::string SystemShortMonthName(int month) {
  char buffer[80] = {};
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT,
                         LOCALE_SABBREVMONTHNAME1 + LCTYPE(month - 1), buffer,
                         sizeof buffer);
  return n < 2 ? "" : std::string(buffer, size_t(n - 1));
}

}  // namespace backend

// Message boxes and consoles take the ANSI code page's bytes as they are.
std::string OwnWords(std::string_view windows_1252) { return std::string(windows_1252); }

LocalTime CurrentLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth,  now.wDay,
                   now.wHour, now.wMinute, now.wSecond};
}

}  // namespace platform
