#include "pelixo/core/text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/memory.h"

namespace pelixo {

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

constexpr bool kDoublesRoundOnce = FLT_EVAL_METHOD == 0;

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
  // Counting the line feeds first spares the list its regrowing.
  size_t feeds = 0;
  const char* const stop = text.data() + text.size();
  for (const void* at = std::memchr(text.data(), '\n', text.size()); at != nullptr;
       at = std::memchr(static_cast<const char*>(at) + 1, '\n',
                        static_cast<size_t>(stop - static_cast<const char*>(at) - 1))) {
    ++feeds;
  }
  platform::ReserveLarge(lines, feeds + 1);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* start = begin;
  // memchr finds the line feeds; a CR is looked for only between them.
  while (start < end) {
    const void* found = std::memchr(start, '\n', static_cast<size_t>(end - start));
    const char* lf = found != nullptr ? static_cast<const char*>(found) : end;
    const char* segment = start;
    while (const void* cr = std::memchr(segment, '\r', static_cast<size_t>(lf - segment))) {
      const char* at = static_cast<const char*>(cr);
      lines.emplace_back(segment, static_cast<size_t>(at - segment));
      segment = at + 1;
      if (segment == lf) {  // CR LF: one line end
        segment = nullptr;
        break;
      }
    }
    if (segment != nullptr && (lf < end || segment < end)) {
      lines.emplace_back(segment, static_cast<size_t>(lf - segment));
    }
    start = lf + 1;
  }
  return lines;
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
  // from_chars does. Not where doubles are worked out in a wider format
  // (the x87 unit of 32-bit builds), which would round twice.
  if (kDoublesRoundOnce && digits <= 15 && !exponent) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    result = static_cast<double>(mantissa) / kPowers[decimals];
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

// The common case by integer arithmetic: |x| * 10^decimals well below 2^43,
// where the product is off the exact value by less than 2^-10, and not
// within that of a half, so that it rounds to the integer the exact value
// rounds to. Returns the length written to `buffer` (32 bytes), or 0.
size_t QuickFixed(char* buffer, double x, int decimals) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  static constexpr double kLimit = 8796093022208.0;  // 2^43
  static constexpr double kMargin = 1.0 / 1024;
  if (decimals < 0 || decimals > 9) return 0;
  const double scaled = std::fabs(x) * kPowers[decimals];
  if (!(scaled < kLimit)) return 0;
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) <= kMargin) return 0;
  uint64_t n = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  // Digits from the right: the decimals, the point, the whole part.
  char digits[32];
  char* at = digits + sizeof digits;
  for (int i = 0; i < decimals; ++i) {
    *--at = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  if (decimals > 0) *--at = '.';
  do {
    *--at = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n > 0);
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

namespace {

// Position of the dot that starts the extension of the file-name part, or
// npos.
size_t ExtensionDot(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    char c = path[i - 1];
    if (c == '.') return i - 1;
    if (c == '\\' || c == '/' || c == ':') break;
  }
  return std::string_view::npos;
}

}  // namespace

std::string ChangeFileExtension(std::string_view path, std::string_view extension) {
  size_t dot = ExtensionDot(path);
  std::string result(dot == std::string_view::npos ? path : path.substr(0, dot));
  result += extension;
  return result;
}

std::string_view FileExtension(std::string_view path) {
  size_t dot = ExtensionDot(path);
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

}  // namespace pelixo
