#include "dc/fields.h"

#include <cfloat>
#include <charconv>

namespace dc {
namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllBlanks(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

// The value of a number too large or too small for a double, as strtod
// gives it: the largest double, or 0. `digits` is the unsigned mantissa and
// exponent text.
double OutOfRange(std::string_view digits) {
  // Decimal position of the first significant digit, plus the exponent.
  long position = 0;
  bool seen_point = false, seen_significant = false;
  size_t i = 0;
  for (; i < digits.size() && (IsDigit(digits[i]) || digits[i] == '.'); ++i) {
    if (digits[i] == '.') {
      seen_point = true;
      continue;
    }
    if (!seen_significant && digits[i] != '0') {
      seen_significant = true;
      if (seen_point) break;
    }
    if (seen_significant && !seen_point) ++position;
    if (!seen_significant && seen_point) --position;
  }
  long exponent = 0;
  const size_t e = digits.find_first_of("eE");
  if (e != std::string_view::npos) {
    size_t j = e + 1;
    bool negative = false;
    if (j < digits.size() && (digits[j] == '+' || digits[j] == '-')) {
      negative = digits[j] == '-';
      ++j;
    }
    for (; j < digits.size() && IsDigit(digits[j]); ++j) {
      if (exponent < 100000) exponent = exponent * 10 + (digits[j] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return position + exponent > 0 ? DBL_MAX : 0.0;
}

}  // namespace

std::string_view FieldSlice(std::string_view line, size_t column,
                            size_t width) {
  if (column >= line.size()) return {};
  return line.substr(column, width);
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '*') {
      out += text[i];
      continue;
    }
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (next) {
      case 'A': out += '\xC5'; ++i; break;  // Å
      case 'E': out += '\xC6'; ++i; break;  // Æ
      case 'O': out += '\xD8'; ++i; break;  // Ø
      case 'a': out += '\xE5'; ++i; break;  // å
      case 'e': out += '\xE6'; ++i; break;  // æ
      case 'o': out += '\xF8'; ++i; break;  // ø
      default: out += 'x'; break;           // the next character stays
    }
  }
  return out;
}

std::string DecodeText(std::string_view line, size_t column, size_t width) {
  std::string_view field = FieldSlice(line, column, width);
  const size_t last = field.find_last_not_of(' ');
  if (last == std::string_view::npos) return {};
  field = field.substr(0, last + 1);
  field.remove_prefix(field.find_first_not_of(' '));
  return Unescape(field);
}

double ParseNumber(std::string_view text, size_t* used) {
  if (used) *used = 0;
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t start = i;
  size_t mantissa_digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
  }
  if (mantissa_digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  const std::string_view number = text.substr(start, i - start);
  double value = 0.0;
  const auto result = std::from_chars(number.data(),
                                      number.data() + number.size(), value,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = OutOfRange(number);
  } else if (result.ec != std::errc()) {
    return 0.0;
  }
  if (used) *used = i;
  return negative ? -value : value;
}

double ParseNumber(std::string_view text) { return ParseNumber(text, nullptr); }

int32_t ParseInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = int64_t{INT32_MAX} + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  return static_cast<int32_t>(value);
}

double DecodeNumber(std::string_view line, size_t column) {
  return ParseNumber(FieldSlice(line, column, kNumberWidth));
}

int32_t DecodeInteger(std::string_view line, size_t column, size_t width) {
  return ParseInteger(FieldSlice(line, column, width));
}

int DecodeDigit(std::string_view line, size_t column) {
  if (column >= line.size()) return kDigitBeyondLine;
  return static_cast<unsigned char>(line[column]) - '0';
}

namespace {

// A distance or angle before unit scaling; kMissing when absent.
double DecodeMeasure(std::string_view line, size_t column) {
  const std::string_view field = FieldSlice(line, column, kNumberWidth);
  // Only a full field of blanks is missing; a field cut to nothing is 0.
  if (field.size() == kNumberWidth && AllBlanks(field)) return kMissing;
  const double value = ParseNumber(field);
  if (value < kPresentAbove) return kMissing;
  return value;
}

}  // namespace

double DecodeDistance(std::string_view line, size_t column,
                      int distance_unit) {
  const double value = DecodeMeasure(line, column);
  if (value == kMissing) return kMissing;
  return DistanceToMetres(value, distance_unit);
}

double DecodeAngle(std::string_view line, size_t column, int angle_unit) {
  const double value = DecodeMeasure(line, column);
  if (value == kMissing) return kMissing;
  return AngleToGon(value, angle_unit);
}

Triple DecodeTriple(std::string_view line, size_t column, const Units& units) {
  const double a = DecodeDistance(line, column, units.distance);
  const double b = DecodeDistance(line, column + 16, units.distance);
  const double h = DecodeDistance(line, column + 32, units.distance);
  if (units.coord_order == 2) return {a, b, h};
  return {b, a, h};
}

Triple DecodeTripleFixedOrder(std::string_view line, size_t column,
                              int distance_unit) {
  const double a = DecodeDistance(line, column, distance_unit);
  const double b = DecodeDistance(line, column + 16, distance_unit);
  const double h = DecodeDistance(line, column + 32, distance_unit);
  return {b, a, h};
}

}  // namespace dc
