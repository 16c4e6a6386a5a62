#include "dc/fields.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "text/ascii.h"
#include "text/numbers.h"

namespace dc {

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
  const std::string_view rest = text::SkipCSpace(text);
  const text::DecimalScan scan = text::ScanDecimal(rest);
  if (used) *used = scan.used == 0 ? 0 : text.size() - rest.size() + scan.used;
  // Too large a number is the largest double.
  if (std::isinf(scan.value)) return scan.negative ? -DBL_MAX : DBL_MAX;
  return scan.value;
}

int32_t ParseInteger(std::string_view text) {
  const int64_t value = text::ScanInteger(text::SkipCSpace(text)).value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
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
  if (field.size() == kNumberWidth && text::AllBlanks(field)) return kMissing;
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

}  // namespace dc
