// The user's locale from the environment (LANG, LC_ALL, ...), read through a
// locale object of our own: the process-wide locale stays "C".
#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <ctime>

namespace platform {
namespace {

const char* const kEnglishMonths[12] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};

class UserLocale {
 public:
  UserLocale() : locale_(newlocale(LC_ALL_MASK, "", locale_t(0))) {}
  ~UserLocale() {
    if (locale_ != locale_t(0)) freelocale(locale_);
  }
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

  // The item, or empty when the environment names no usable locale.
  std::string Item(nl_item item) const {
    if (locale_ == locale_t(0)) return "";
    const char* text = nl_langinfo_l(item, locale_);
    return text ? text : "";
  }

 private:
  locale_t locale_;
};

}  // namespace

namespace backend {

char SystemDecimalSeparator() {
  std::string radix = UserLocale().Item(RADIXCHAR);
  return radix.size() == 1 ? radix[0] : '.';
}

}  // namespace backend

std::string LocaleShortMonthName(int month) {
  if (month < 1 || month > 12) return "";
  std::string name = UserLocale().Item(ABMON_1 + (month - 1));
  return name.empty() ? kEnglishMonths[month - 1] : name;
}

LocalTime CurrentLocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  LocalTime t;
  t.year = parts.tm_year + 1900;
  t.month = parts.tm_mon + 1;
  t.day = parts.tm_mday;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  t.second = parts.tm_sec;
  return t;
}

}  // namespace platform
