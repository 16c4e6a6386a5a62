#include "text/numbers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <system_error>

#include "text/ascii.h"

namespace text {
namespace {

// 10^0 to 10^15, exact as doubles.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The value of a digit; above 9 for any other character.
unsigned DigitOf(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }

// Whether the unsigned number `run` (digits, point, exponent) that does not
// fit a double is too large rather than too small: the decimal position of
// its first significant digit plus its exponent.
bool Overflows(std::string_view run) {
  long position = 0;
  bool seen_point = false, seen_significant = false;
  size_t i = 0;
  for (; i < run.size() && (IsDigit(run[i]) || run[i] == '.'); ++i) {
    if (run[i] == '.') {
      seen_point = true;
    } else if (!seen_significant && run[i] != '0') {
      seen_significant = true;
      if (seen_point) break;
      ++position;
    } else if (seen_significant && !seen_point) {
      ++position;
    } else if (!seen_significant && seen_point) {
      --position;
    }
  }
  long exponent = 0;
  bool negative = false;
  if (const size_t e = run.find_first_of("eE"); e != std::string_view::npos) {
    size_t j = e + 1;
    if (j < run.size() && (run[j] == '+' || run[j] == '-')) negative = run[j++] == '-';
    for (; j < run.size() && IsDigit(run[j]); ++j) {
      if (exponent < 100000) exponent = exponent * 10 + (run[j] - '0');
    }
  }
  return position + (negative ? -exponent : exponent) > 0;
}

}  // namespace

DecimalScan ScanDecimal(std::string_view text) {
  DecimalScan scan;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* c = begin;
  bool negative = false;
  if (c != end && (*c == '+' || *c == '-')) negative = *c++ == '-';
  // The digits before and after the point, as one integer (wrapped when
  // there are too many: then it is not used).
  const char* const first = c;
  uint64_t digits = 0;
  for (unsigned digit; c != end && (digit = DigitOf(*c)) <= 9; ++c) digits = digits * 10 + digit;
  int count = static_cast<int>(c - first);
  int decimals = 0;
  if (c != end && *c == '.') {
    const char* const point = ++c;
    for (unsigned digit; c != end && (digit = DigitOf(*c)) <= 9; ++c) {
      digits = digits * 10 + digit;
    }
    decimals = static_cast<int>(c - point);
    count += decimals;
  }
  if (count == 0) return scan;
  bool exponent = false;
  if (c != end && (*c == 'e' || *c == 'E')) {
    const char* e = c + 1;
    if (e != end && (*e == '+' || *e == '-')) ++e;
    if (e != end && IsDigit(*e)) {
      while (e != end && IsDigit(*e)) ++e;
      c = e;
      exponent = true;
    }
  }
  scan.used = static_cast<size_t>(c - begin);
  scan.negative = negative;
  scan.digits = digits;
  scan.digit_count = count;
  scan.decimals = decimals;
  double value = 0;
  if (!exponent && count <= kExactDigits) {
    // The digits and the power of ten are exact doubles: the one division
    // rounds as from_chars does. Converted as a signed number: 32-bit builds
    // have no SSE2 conversion of an unsigned 64-bit integer.
    scan.exact = true;
    value = static_cast<double>(static_cast<int64_t>(digits)) / kExactPowersOfTen[decimals];
  } else {
    const auto result = std::from_chars(first, c, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
      scan.out_of_range = true;
      value = Overflows(std::string_view(first, static_cast<size_t>(c - first))) ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
      return DecimalScan();
    }
  }
  scan.value = negative ? -value : value;
  return scan;
}

IntegerScan ScanInteger(std::string_view text) {
  constexpr int64_t kBeyond = (int64_t{1} << 31) + 1;
  IntegerScan scan;
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t first = i;
  int64_t magnitude = 0;
  for (unsigned digit; i < text.size() && (digit = DigitOf(text[i])) <= 9; ++i) {
    magnitude = magnitude * 10 + digit;
    if (magnitude > kBeyond) magnitude = kBeyond;
  }
  if (i == first) return scan;
  scan.value = negative ? -magnitude : magnitude;
  scan.used = i;
  return scan;
}

bool ParseInt32(std::string_view text, int32_t* value) {
  const IntegerScan scan = ScanInteger(text);
  if (scan.used == 0 || scan.used != text.size() || scan.value > INT32_MAX ||
      scan.value < INT32_MIN) {
    return false;
  }
  *value = static_cast<int32_t>(scan.value);
  return true;
}

const char kDigitPairs[201] =
    "0001020304050607080910111213141516171819"
    "2021222324252627282930313233343536373839"
    "4041424344454647484950515253545556575859"
    "6061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

int DigitCount(uint64_t value) {
  // floor(log10(2^(width - 1))): the digits are this or one more. An odd
  // value stands where an even power of ten does, and 0 counts as 1.
  const uint64_t odd = value | 1;
  const int guess = ((std::bit_width(odd) - 1) * 1233) >> 12;
  return guess + 1 + (guess + 1 < 20 && odd >= kPowersOfTen[guess + 1]);
}

namespace {

template <typename Unsigned>
char* PairsBackward(char* end, Unsigned value, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * static_cast<size_t>(value % 100), 2);
    value /= 100;
  }
  if (count > 0) *--end = static_cast<char>('0' + value % 10);
  return end;
}

// The digits of `magnitude` (finite, not negative) with `decimals`
// decimals, rounded to nearest with ties to even on the exact binary value,
// by integer arithmetic on the binary fraction; 0 (nothing written) at or
// above 2^63, below about 0.008 but not 0, and beyond 18 decimals.
// A finite double as mantissa * 2^exponent.
struct Binary {
  uint64_t mantissa;
  int exponent;
};

Binary BinaryOf(double magnitude) {
  uint64_t bits;
  static_assert(sizeof bits == sizeof magnitude);
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction_bits = bits & ((uint64_t{1} << 52) - 1);
  return {biased == 0 ? fraction_bits : fraction_bits | (uint64_t{1} << 52),
          (biased == 0 ? 1 : biased) - 1075};
}

size_t FixedExact(double magnitude, int decimals, char* out) {
  if (decimals > 18) return 0;
  const auto [mantissa, exponent] = BinaryOf(magnitude);
  uint64_t integer = 0;
  uint64_t fraction = 0;  // the decimals as an integer
  if (mantissa == 0) {
    // zero
  } else if (exponent >= 0) {
    if (exponent > 10) return 0;
    integer = mantissa << exponent;
  } else {
    const int shift = -exponent;
    // Ten times the remaining fraction must stay within 64 bits.
    if (shift > 60) return 0;
    const uint64_t mask = (uint64_t{1} << shift) - 1;
    integer = mantissa >> shift;
    uint64_t rest = mantissa & mask;  // in units of 2^-shift
    if (shift + 4 * decimals <= 63) {
      // All decimals at once: rest * 10^decimals fits in 64 bits.
      const uint64_t scaled = rest * kPowersOfTen[decimals];
      fraction = scaled >> shift;
      rest = scaled & mask;
    } else {
      for (int i = 0; i < decimals; ++i) {
        rest *= 10;
        fraction = fraction * 10 + (rest >> shift);
        rest &= mask;
      }
    }
    const uint64_t half = uint64_t{1} << (shift - 1);
    const uint64_t last = decimals > 0 ? fraction : integer;
    if (rest > half || (rest == half && (last & 1) != 0)) {
      if (++fraction == kPowersOfTen[decimals]) {
        fraction = 0;
        ++integer;
      }
    }
  }
  const int integer_digits = DigitCount(integer);
  WriteDigitsBackward(out + integer_digits, integer, integer_digits);
  if (decimals == 0) return static_cast<size_t>(integer_digits);
  out[integer_digits] = '.';
  const int size = integer_digits + 1 + decimals;
  WriteDigitsBackward(out + size, fraction, decimals);
  return static_cast<size_t>(size);
}

// The same for every other value, from its exact decimal expansion: a
// double is mantissa * 2^exponent, that is mantissa * 2^exponent digits with
// no decimals or mantissa * 5^-exponent digits with -exponent of them
// decimals. Worked out in base 10^9, at most 767 significant digits.
size_t FixedFromExpansion(double magnitude, int decimals, char* out) {
  constexpr uint32_t kBase = 1000000000;
  const auto [mantissa, exponent] = BinaryOf(magnitude);
  uint32_t limbs[90];  // least significant first
  int count = 0;
  for (uint64_t rest = mantissa; rest != 0; rest /= kBase) limbs[count++] = rest % kBase;
  auto multiply = [&](uint32_t factor) {
    uint64_t carry = 0;
    for (int i = 0; i < count; ++i) {
      const uint64_t product = uint64_t{limbs[i]} * factor + carry;
      limbs[i] = static_cast<uint32_t>(product % kBase);
      carry = product / kBase;
    }
    for (; carry != 0; carry /= kBase) limbs[count++] = static_cast<uint32_t>(carry % kBase);
  };
  const int point = exponent < 0 ? -exponent : 0;  // decimals of the expansion
  for (int left = exponent < 0 ? point : exponent; left > 0;) {
    const int step = std::min(left, exponent < 0 ? 13 : 31);
    uint32_t factor = 1;
    for (int i = 0; i < step; ++i) factor *= exponent < 0 ? 5 : 2;
    multiply(factor);
    left -= step;
  }
  // All digits after a leading zero, which a carry may take.
  char digits[90 * 9 + 1100];
  const int length = std::max(count * 9, point) + 1;
  std::memset(digits, '0', static_cast<size_t>(length));
  for (int i = 0; i < count; ++i) WriteDigitsBackward(digits + length - 9 * i, limbs[i], 9);
  // Rounded to `decimals`: to nearest, ties to even.
  const int integers = length - point;
  int kept = integers + std::min(decimals, point);
  if (kept < length) {
    const char next = digits[kept];
    const bool beyond = std::any_of(digits + kept + 1, digits + length, [](char c) { return c != '0'; });
    if (next > '5' || (next == '5' && (beyond || (digits[kept - 1] - '0') % 2 != 0))) {
      int i = kept - 1;
      for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
      ++digits[i];
    }
  }
  int first = 0;
  while (first < integers - 1 && digits[first] == '0') ++first;
  char* end = std::copy(digits + first, digits + integers, out);
  if (decimals == 0) return static_cast<size_t>(end - out);
  *end++ = '.';
  end = std::copy(digits + integers, digits + kept, end);
  end = std::fill_n(end, decimals - (kept - integers), '0');
  return static_cast<size_t>(end - out);
}

}  // namespace

char* WriteDigitsBackward(char* end, uint64_t value, int count) {
  // In 32 bits where the value allows: cheaper.
  if (value <= UINT32_MAX) return PairsBackward(end, static_cast<uint32_t>(value), count);
  return PairsBackward(end, value, count);
}

char* WriteFixed(char* out, double x, int decimals) {
  if (std::signbit(x)) *out++ = '-';
  if (!std::isfinite(x)) {
    std::copy_n(std::isnan(x) ? "nan" : "inf", 3, out);  // no terminating NUL
    return out + 3;
  }
  const double magnitude = std::fabs(x);
  if (const size_t size = FixedExact(magnitude, decimals, out)) return out + size;
  return out + FixedFromExpansion(magnitude, decimals, out);
}

void AppendFixed(std::string& out, double x, int decimals) {
  char buffer[FixedRoom(24)];
  if (decimals <= 24) {
    out.append(buffer, WriteFixed(buffer, x, decimals));
    return;
  }
  const std::unique_ptr<char[]> large(new char[FixedRoom(decimals)]);
  out.append(large.get(), WriteFixed(large.get(), x, decimals));
}

}  // namespace text
