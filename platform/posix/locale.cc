// The user's locale from the environment (LANG, LC_ALL, ...), read through a
// locale object of our own: the process-wide locale stays "C".
#include "platform/locale.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <ctime>

#include "platform/backend.h"

namespace platform {
namespace {

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

std::string SystemShortMonthName(int month) {
  return UserLocale().Item(ABMON_1 + (month - 1));
}

}  // namespace backend

std::string OwnWords(std::string_view windows_1252) {
  std::string words(windows_1252);
  std::string codeset = UserLocale().Item(CODESET);
  // The C locale ("ANSI_X3.4-1968") has no letters beyond ASCII: the bytes
  // stay as they always were.
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "CP1252") return words;
  iconv_t converter = iconv_open(codeset.c_str(), "WINDOWS-1252");
  if (converter == reinterpret_cast<iconv_t>(-1)) return words;
  std::string converted(words.size() * 4, '\0');
  char* in = words.data();
  size_t in_left = words.size();
  char* out = converted.data();
  size_t out_left = converted.size();
  size_t done = iconv(converter, &in, &in_left, &out, &out_left);
  iconv_close(converter);
  if (done == static_cast<size_t>(-1)) return words;  // a letter the locale has no place for
  converted.resize(converted.size() - out_left);
  return converted;
}

LocalTime CurrentLocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace platform
