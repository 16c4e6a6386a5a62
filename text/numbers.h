// Decimal numbers read and written without the C library and its locale:
// one scanner of decimals, integers, one exact "%.*f" writer and one table
// of digit pairs. The common short decimals take a fast path of integer
// arithmetic. Other decimals are read through <charconv>; other fixed
// decimals are written from the exact decimal expansion, without the
// floating-point formatting of the runtime (in the 32-bit build it computes
// with the x87 unit).
#ifndef TEXT_NUMBERS_H_
#define TEXT_NUMBERS_H_

#include <array>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// 10^0 to 10^19.
inline constexpr std::array<uint64_t, 20> kPowersOfTen = [] {
  std::array<uint64_t, 20> powers{1};
  for (size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

// The fast path divides an exact integer by an exact power of ten and
// relies on that one division rounding once. Doubles worked out in a wider
// format (the x87 unit) would round twice; every build computes them in SSE2.
static_assert(FLT_EVAL_METHOD == 0, "doubles must be computed in double precision");

// The most digits a decimal may have for the fast path: a double holds
// every integer of 15 digits and every power of ten up to 10^15 exactly.
inline constexpr int kExactDigits = 15;

// A decimal number at the start of a text: an optional sign, digits with an
// optional "." and more digits, and an exponent where its letter is followed
// by digits (an optional sign between). No white space, no "inf", "nan" or
// hexadecimal forms.
struct DecimalScan {
  // The value, correctly rounded; beyond the range of a double an infinity
  // (`out_of_range` set) or a zero. 0 when there is no number.
  double value = 0;
  // The characters used; 0 when there is no number.
  size_t used = 0;
  bool negative = false;
  bool out_of_range = false;
  // Without exponent and of at most kExactDigits digits, the number is
  // exactly `digits` / 10^`decimals` (the sign aside).
  bool exact = false;
  uint64_t digits = 0;
  int digit_count = 0;  // before and after the point
  int decimals = 0;
};
DecimalScan ScanDecimal(std::string_view text);

// An optional sign and decimal digits at the start of a text.
struct IntegerScan {
  // The value; once beyond the 32-bit range it stays just beyond it
  // (+-(2^31 + 1)), so that it never wraps.
  int64_t value = 0;
  size_t used = 0;  // 0 when there are no digits
};
IntegerScan ScanInteger(std::string_view text);

// An optionally signed decimal 32-bit integer over the whole of `text`.
bool ParseInt32(std::string_view text, int32_t* value);

// The pairs "00" to "99", one after the other.
extern const char kDigitPairs[201];

// The number of decimal digits of `value` (1 for 0).
int DigitCount(uint64_t value);

// Writes the `count` lowest decimal digits of `value` (zeros where it has
// fewer) so that they end before `end`; returns where they start.
char* WriteDigitsBackward(char* end, uint64_t value, int count);

// The room WriteFixed needs for `decimals` decimals: a sign, the 309 digits
// of the largest double, the point.
constexpr size_t FixedRoom(int decimals) { return 1 + 309 + 1 + static_cast<size_t>(decimals); }

// Writes printf's "%.*f" of `x` (the exact binary value rounded to nearest,
// ties to even; "inf", "nan" with a "-" for the sign bit) at `out`, which
// has FixedRoom(decimals) characters (decimals >= 0); returns the end.
char* WriteFixed(char* out, double x, int decimals);

// The same, appended to `out`.
void AppendFixed(std::string& out, double x, int decimals);

}  // namespace text

#endif  // TEXT_NUMBERS_H_
