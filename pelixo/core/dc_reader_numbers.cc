#include "pelixo/core/dc_reader_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace pelixo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseReal(std::string_view text, double* value, bool leading_blanks) {
  if (leading_blanks) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Only plain decimal notation: no "inf", "nan" or hexadecimal forms.
  size_t i = 0;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  if (i != text.size()) return false;
  double result = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(result)) {
    return false;
  }
  *value = negative ? -result : result;
  return true;
}

bool ParseInt32(std::string_view text, int32_t* value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  int64_t result = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    result = result * 10 + (c - '0');
    if (result > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) return false;
  }
  if (negative) result = -result;
  if (result < std::numeric_limits<int32_t>::min() ||
      result > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  *value = static_cast<int32_t>(result);
  return true;
}

}  // namespace pelixo
