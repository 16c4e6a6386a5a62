#include "danvora/number_fields.h"

#include <cstdint>

#include "text/ascii.h"
#include "dc/powers_of_ten.h"

namespace danvora {
namespace {

// A plain decimal ("  -12.345", digits with at most one point, blanks
// before it, no exponent after it) of at most 15 digits into `*value`;
// false for any other text, which dc::ParseNumber then reads.
//
// Such a decimal is an integer below 2^53 divided by a power of ten of at
// most 10^15, both exact doubles: one correctly rounded division gives the
// correctly rounded value of the decimal, as the C library's conversion
// does (dc/powers_of_ten.h makes sure doubles are computed in double
// precision).
bool ParsePlainDecimal(std::string_view text, double* value) {
  // The value of a digit; above 9 for any other character.
  auto digit_of = [](char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
  };
  constexpr int kMaxDigits = 15;
  const char* const end = text.data() + text.size();
  const char* c = text::SkipBlanks(text.data(), end);
  bool negative = false;
  if (c != end && (*c == '-' || *c == '+')) {
    negative = *c == '-';
    ++c;
  }
  // The digits before and after the point, as one integer.
  uint64_t mantissa = 0;
  const char* const first = c;
  for (unsigned digit; c != end && (digit = digit_of(*c)) <= 9; ++c) {
    mantissa = mantissa * 10 + digit;
  }
  int digits = static_cast<int>(c - first);
  int decimals = 0;
  if (c != end && *c == '.') {
    const char* const point = ++c;
    for (unsigned digit; c != end && (digit = digit_of(*c)) <= 9; ++c) {
      mantissa = mantissa * 10 + digit;
    }
    decimals = static_cast<int>(c - point);
    digits += decimals;
  }
  // A longer number (its integer may have wrapped) is dc::ParseNumber's.
  if (digits == 0 || digits > kMaxDigits) return false;
  if (c != end && (*c == 'e' || *c == 'E')) return false;
  const double magnitude = dc::ExactDecimal(mantissa, decimals);
  *value = negative ? -magnitude : magnitude;
  return true;
}

// A distance or angle before unit scaling; kMissing when absent.
double MeasureField(std::string_view line, size_t column) {
  const std::string_view field = dc::FieldSlice(line, column, dc::kNumberWidth);
  // Only a full field of blanks is missing; a field cut to nothing is 0.
  if (field.size() == dc::kNumberWidth && text::AllBlanks(field)) {
    return dc::kMissing;
  }
  const double value = ParseFieldNumber(field);
  if (value < dc::kPresentAbove) return dc::kMissing;
  return value;
}

}  // namespace

double ParseFieldNumber(std::string_view text) {
  double value;
  if (ParsePlainDecimal(text, &value)) return value;
  return dc::ParseNumber(text);
}

double NumberField(std::string_view line, size_t column) {
  return ParseFieldNumber(dc::FieldSlice(line, column, dc::kNumberWidth));
}

double DistanceField(std::string_view line, size_t column, int distance_unit) {
  const double value = MeasureField(line, column);
  if (value == dc::kMissing) return dc::kMissing;
  return dc::DistanceToMetres(value, distance_unit);
}

double AngleField(std::string_view line, size_t column, int angle_unit) {
  const double value = MeasureField(line, column);
  if (value == dc::kMissing) return dc::kMissing;
  return dc::AngleToGon(value, angle_unit);
}

dc::Triple TripleField(std::string_view line, size_t column,
                       const dc::Units& units) {
  const double a = DistanceField(line, column, units.distance);
  const double b = DistanceField(line, column + 16, units.distance);
  const double h = DistanceField(line, column + 32, units.distance);
  if (units.coord_order == 2) return {a, b, h};
  return {b, a, h};
}

}  // namespace danvora
