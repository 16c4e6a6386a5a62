#include "pelixo/core/text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "dc/powers_of_ten.h"
#include "platform/memory.h"

namespace pelixo {

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperAscii(c);
  return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

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

LineReader::LineReader(std::string_view text) {
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.empty()) return;  // its data may be null, which memchr must not see
  at_ = text.data();
  end_ = at_ + text.size();
  feed_ = at_;
}

bool LineReader::Next(std::string_view* line) {
  if (at_ == end_) return false;
  if (feed_ < at_) feed_ = at_;
  if (feed_ != end_ && *feed_ != '\n') {
    const void* found = std::memchr(feed_, '\n', static_cast<size_t>(end_ - feed_));
    feed_ = found != nullptr ? static_cast<const char*>(found) : end_;
  }
  // memchr finds the line feeds; a CR is looked for only before the next.
  const char* line_end = feed_;
  if (const void* cr = std::memchr(at_, '\r', static_cast<size_t>(feed_ - at_))) {
    line_end = static_cast<const char*>(cr);
  }
  *line = std::string_view(at_, static_cast<size_t>(line_end - at_));
  if (line_end == end_) {
    at_ = end_;
  } else if (*line_end == '\r' && line_end + 1 != feed_) {
    at_ = line_end + 1;  // a lone CR
  } else {
    at_ = feed_ == end_ ? end_ : feed_ + 1;  // LF or CR LF
  }
  return true;
}

bool ParseReal(std::string_view text, double* value, std::string_view leading_blanks) {
  while (!text.empty() && leading_blanks.find(text.front()) != std::string_view::npos) {
    text.remove_prefix(1);
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Only plain decimal notation: from_chars alone would take "inf" or "nan".
  // The digits are gathered as an integer on the way (exact while short).
  size_t i = 0;
  size_t digits = 0, decimals = 0;
  uint64_t mantissa = 0;
  while (i < text.size() && IsDecimalDigit(text[i])) {
    mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
    ++i, ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDecimalDigit(text[i])) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
      ++i, ++digits, ++decimals;
    }
  }
  if (digits == 0) return false;
  const bool exponent = i < text.size() && (text[i] == 'e' || text[i] == 'E');
  if (exponent) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < text.size() && IsDecimalDigit(text[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  if (i != text.size()) return false;
  double result = 0;
  // Up to 15 digits without an exponent: the digits as an integer divided
  // by a power of ten are both exact, so the one division rounds as
  // from_chars does.
  if (digits <= 15 && !exponent) {
    result = dc::ExactDecimal(mantissa, decimals);
    *value = negative ? -result : result;
    return true;
  }
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(result)) {
    return false;
  }
  *value = negative ? -result : result;
  return true;
}

namespace {

// Writes the `count` lowest decimal digits of `n` (zeros where it has
// fewer) so that they end before `end`; returns where they start.
char* WriteDigitsBackward(char* end, uint64_t n, int count) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (n % 100), 2);
    n /= 100;
  }
  if (count > 0) *--end = static_cast<char>('0' + n % 10);
  return end;
}

// The common case by integer arithmetic: |x| * 10^decimals well below 2^43,
// where the product is off the exact value by less than 2^-10, and not
// within that of a half, so that it rounds to the integer the exact value
// rounds to. Returns the length written to `buffer` (32 bytes), or 0.
size_t QuickFixed(char* buffer, double x, int decimals) {
  static constexpr double kLimit = 8796093022208.0;  // 2^43
  static constexpr double kMargin = 1.0 / 1024;
  if (decimals < 0 || decimals > 9) return 0;
  const double scaled = std::fabs(x) * dc::kExactPowersOfTen[decimals];
  if (!(scaled < kLimit)) return 0;
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) <= kMargin) return 0;
  uint64_t n = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  // Digits from the right, two at a time: the decimals, the point, the
  // whole part.
  const uint64_t scale = dc::kPowersOfTen[decimals];
  char digits[32];
  char* at = digits + sizeof digits;
  if (decimals > 0) {
    at = WriteDigitsBackward(at, n % scale, decimals);
    *--at = '.';
  }
  uint64_t whole_part = n / scale;
  int whole_digits = 1;
  while (whole_digits < 14 && whole_part >= dc::kPowersOfTen[whole_digits]) ++whole_digits;
  at = WriteDigitsBackward(at, whole_part, whole_digits);
  if (std::signbit(x)) *--at = '-';
  const size_t length = static_cast<size_t>(digits + sizeof digits - at);
  std::memcpy(buffer, at, length);
  return length;
}

}  // namespace

bool AppendFixedDecimals(std::string& out, double x, int decimals) {
  if (decimals < 0 || !std::isfinite(x)) return false;
  char buffer[128];
  if (size_t length = QuickFixed(buffer, x, decimals)) {
    out.append(buffer, length);
    return true;
  }
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return false;
  out.append(buffer, result.ptr);
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
  while (i < text.size() && IsDecimalDigit(text[i])) ++i;
  const size_t integer_digits = i - integer_start;
  // A leading zero ("007") is written without it: leave that to printf.
  if (integer_digits == 0 || (integer_digits > 1 && text[integer_start] == '0')) {
    return false;
  }
  size_t fraction_start = i, fraction_digits = 0;
  if (i < text.size()) {
    if (text[i] != '.' && text[i] != decimal_separator) return false;
    fraction_start = ++i;
    while (i < text.size() && IsDecimalDigit(text[i])) ++i;
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
  if (text.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  }
  if (i >= text.size()) return false;
  int64_t result = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && UpperAscii(c) >= 'A' && UpperAscii(c) <= 'F') {
      digit = UpperAscii(c) - 'A' + 10;
    } else {
      return false;
    }
    result = result * (hex ? 16 : 10) + digit;
    // Hexadecimal texts may give the full 32 bits (as two's complement).
    if (result > (hex ? int64_t{0xFFFFFFFF} : int64_t{1} << 31)) return false;
  }
  if (hex && result > std::numeric_limits<int32_t>::max()) {
    result -= int64_t{1} << 32;
  }
  if (negative) result = -result;
  if (result > std::numeric_limits<int32_t>::max() ||
      result < std::numeric_limits<int32_t>::min()) {
    return false;
  }
  *value = static_cast<int>(result);
  return true;
}

}  // namespace pelixo
