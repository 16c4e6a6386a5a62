#include "pelixo/core/text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/memory.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace pelixo {


std::vector<std::string_view> SplitLines(std::string_view text) {
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string_view> lines;
  if (text.empty()) return lines;  // its data may be null, which memchr must not see
  // Counting first spares the list its regrowing.
  platform::ReserveLarge(lines, CountLines(text));
  LineReader reader(text);
  for (std::string_view line; reader.Next(&line);) lines.push_back(line);
  return lines;
}

size_t CountLines(std::string_view text) {
  if (text.empty()) return 0;  // its data may be null, which memchr must not see
  size_t feeds = 0;
  const char* const stop = text.data() + text.size();
  for (const void* at = std::memchr(text.data(), '\n', text.size()); at != nullptr;
       at = std::memchr(static_cast<const char*>(at) + 1, '\n',
                        static_cast<size_t>(stop - static_cast<const char*>(at) - 1))) {
    ++feeds;
  }
  return feeds + 1;
}

bool ParseReal(std::string_view text, double* value, std::string_view leading_blanks) {
  while (!text.empty() && leading_blanks.find(text.front()) != std::string_view::npos) {
    text.remove_prefix(1);
  }
  const text::DecimalScan scan = text::ScanDecimal(text);
  if (scan.used == 0 || scan.used != text.size() || scan.out_of_range) return false;
  *value = scan.value;
  return true;
}

bool AppendFixedDecimalsOfText(std::string& out, std::string_view text, int decimals,
                               char decimal_separator) {
  // A double holds every decimal of up to this many significant digits
  // closely enough (within a ninth of the last place) for that.
  constexpr size_t kExactDigits = 15;
  if (decimals < 0 || text.empty()) return false;
  size_t i = 0;
  const bool negative = text[0] == '-';
  if (negative) ++i;
  const size_t integer_start = i;
  while (i < text.size() && text::IsDigit(text[i])) ++i;
  const size_t integer_digits = i - integer_start;
  // A leading zero ("007") is written without it: leave that to printf.
  if (integer_digits == 0 || (integer_digits > 1 && text[integer_start] == '0')) {
    return false;
  }
  size_t fraction_start = i, fraction_digits = 0;
  if (i < text.size()) {
    if (text[i] != '.' && text[i] != decimal_separator) return false;
    fraction_start = ++i;
    while (i < text.size() && text::IsDigit(text[i])) ++i;
    fraction_digits = i - fraction_start;
    if (i != text.size() || fraction_digits == 0) return false;
  }
  const size_t places = static_cast<size_t>(decimals);
  if (fraction_digits > places || integer_digits + places > kExactDigits) return false;
  // Already written as "%.*f" writes it: taken as it stands.
  if (fraction_digits == places && (places == 0 || text[fraction_start - 1] == '.')) {
    out.append(text);
    return true;
  }
  // At most kExactDigits digits, a sign and a point: one append.
  char digits[kExactDigits + 2];
  char* at = digits;
  if (negative) *at++ = '-';
  std::memcpy(at, text.data() + integer_start, integer_digits);
  at += integer_digits;
  if (places > 0) {
    *at++ = '.';
    std::memcpy(at, text.data() + fraction_start, fraction_digits);
    at += fraction_digits;
    std::memset(at, '0', places - fraction_digits);
    at += places - fraction_digits;
  }
  out.append(digits, static_cast<size_t>(at - digits));
  return true;
}

bool ParseInteger(std::string_view text, int* value) {
  const size_t sign = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (text.substr(sign).starts_with('$')) {
    // Hexadecimal texts may give the full 32 bits (as two's complement).
    const std::string_view digits = text.substr(sign + 1);
    uint32_t result = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return false;
    const auto bits = static_cast<int32_t>(result);
    if (text[0] == '-' && bits == INT32_MIN) return false;
    *value = text[0] == '-' ? -bits : bits;
    return true;
  }
  int32_t result = 0;
  if (!text::ParseInt32(text, &result)) return false;
  *value = result;
  return true;
}

}  // namespace pelixo
