#include "text/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/same_double.h"

namespace text {
namespace {

using pelixo::testing::SameDouble;

// The scanner reads what strtod reads in the "C" locale (the tests run in
// it): the same value and the same end.
void ExpectAsStrtod(const std::string& text) {
  char* end = nullptr;
  const double expected = std::strtod(text.c_str(), &end);
  const DecimalScan scan = ScanDecimal(text);
  EXPECT_EQ(scan.used, static_cast<size_t>(end - text.c_str())) << '"' << text << '"';
  EXPECT_TRUE(SameDouble(scan.used == 0 ? 0.0 : expected, scan.value)) << '"' << text << '"';
}

TEST(NumbersTest, ScanDecimalReadsAsStrtod) {
  for (const char* text :
       {"", "0", "-0", "-0.000", "+1", "1.", ".5", "-.5", ".", "-", "+-1", "--1", "12abc", "1e3",
        "1E-3", "1e", "1e+", "2.5e1x", "12 34", "123456789012345", "1234567890123456",
        "0.000000000000001", "000000000000000012.5", "99999999999999.9", "9007199254740993",
        "6100000.000     ", "-999999999.999", "1.7976931348623157e308", "1e400", "-1e400",
        "1e-400", "0.1", "0.3", "2.675", "1.005", "6378137", "1.e5", "e5", ".e5"}) {
    ExpectAsStrtod(text);
  }
}

TEST(NumbersTest, RandomDecimalsReadAsStrtod) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    if (random() % 3 == 0) text += random() % 2 ? '-' : '+';
    auto digits = [&](int count) {
      for (int d = 0; d < count; ++d) text += static_cast<char>('0' + random() % 10);
    };
    digits(static_cast<int>(random() % 12));
    if (random() % 5 != 0) text += '.';
    digits(static_cast<int>(random() % 10));
    if (random() % 20 == 0) text += "e" + std::to_string(static_cast<int>(random() % 40) - 20);
    text.append(random() % 4, ' ');
    ExpectAsStrtod(text);
  }
}

TEST(NumbersTest, ScanDecimalTellsTheShortPlainDecimals) {
  DecimalScan scan = ScanDecimal("-12.340x");
  EXPECT_TRUE(scan.exact);
  EXPECT_TRUE(scan.negative);
  EXPECT_EQ(scan.digits, 12340u);
  EXPECT_EQ(scan.digit_count, 5);
  EXPECT_EQ(scan.decimals, 3);
  EXPECT_EQ(scan.used, 7u);
  EXPECT_FALSE(ScanDecimal("1e2").exact);
  EXPECT_FALSE(ScanDecimal("1234567890123456").exact);
  // Beyond the range: an infinity or a zero, told apart from the largest
  // and the smallest numbers; the direction by the first digit's place.
  EXPECT_TRUE(ScanDecimal("1e400").out_of_range);
  EXPECT_EQ(ScanDecimal("1e400").value, HUGE_VAL);
  EXPECT_TRUE(ScanDecimal("0.001e312").out_of_range);
  EXPECT_EQ(ScanDecimal("0.001e312").value, HUGE_VAL);
  EXPECT_TRUE(ScanDecimal("1e-400").out_of_range);
  EXPECT_EQ(ScanDecimal("1e-400").value, 0.0);
  EXPECT_EQ(ScanDecimal(std::string(400, '9') + "e-10").value, HUGE_VAL);
  EXPECT_EQ(ScanDecimal("0." + std::string(400, '0') + "1").value, 0.0);
  EXPECT_FALSE(ScanDecimal("1.7976931348623157e308").out_of_range);
}

TEST(NumbersTest, Integers) {
  int32_t value = 0;
  EXPECT_TRUE(ParseInt32("-2147483648", &value));
  EXPECT_EQ(value, INT32_MIN);
  EXPECT_TRUE(ParseInt32("+2147483647", &value));
  EXPECT_EQ(value, INT32_MAX);
  EXPECT_TRUE(ParseInt32("007", &value));
  EXPECT_EQ(value, 7);
  for (const char* bad : {"", "+", "-", "2147483648", "-2147483649", "1 ", " 1", "1.0", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInt32(bad, &value)) << bad;
  }
  EXPECT_EQ(ScanInteger("-12ab").value, -12);
  EXPECT_EQ(ScanInteger("-12ab").used, 3u);
  EXPECT_EQ(ScanInteger("x").used, 0u);
  // Far beyond 32 bits the value stays just beyond them.
  EXPECT_EQ(ScanInteger("99999999999999999999999").value, (int64_t{1} << 31) + 1);
  EXPECT_EQ(ScanInteger("-99999999999999999999999").value, -(int64_t{1} << 31) - 1);
}

TEST(NumbersTest, DigitsAsToStringWritesThem) {
  std::mt19937_64 random(3);
  for (int i = 0; i < 100000; ++i) {
    const uint64_t value = random() >> (random() % 64);
    const std::string expected = std::to_string(value);
    EXPECT_EQ(DigitCount(value), static_cast<int>(expected.size()));
    char buffer[24];
    char* begin = WriteDigitsBackward(buffer + 24, value, static_cast<int>(expected.size()));
    EXPECT_EQ(std::string(begin, buffer + 24), expected);
  }
  EXPECT_EQ(DigitCount(0), 1);
  char buffer[8];
  EXPECT_EQ(std::string(WriteDigitsBackward(buffer + 8, 42, 5), buffer + 8), "00042");
}

std::string Printf(double x, int decimals) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
  return buffer;
}

std::string Fixed(double x, int decimals) {
  std::string out;
  AppendFixed(out, x, decimals);
  return out;
}

// Every range of the integer path and of the exact expansion, ties included.
TEST(NumbersTest, FixedIsWhatPrintfWrites) {
  for (double x : {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.0625, 2.675, 1.005, 1e-5, 6100000.0005,
                   123456789.123456789, 9007199254740993.0, 1e22, 1.7976931348623157e308,
                   4.9e-324, -1e-300, 0.3, 999999.9995, 9.5, 8796093022208.5}) {
    for (int decimals : {0, 1, 2, 3, 4, 6, 9, 15, 18, 19, 30, 60, 80}) {
      EXPECT_EQ(Fixed(x, decimals), Printf(x, decimals)) << x << " " << decimals;
    }
  }
  std::mt19937_64 random(11);
  for (int i = 0; i < 200000; ++i) {
    int decimals = static_cast<int>(random() % 12);
    double x = static_cast<double>(random() % 100000000000ull) / std::pow(10.0, random() % 12);
    if (random() % 2) x = -x;
    if (random() % 8 == 0) {
      uint64_t bits = random();
      std::memcpy(&x, &bits, sizeof x);
      decimals = static_cast<int>(random() % 90);
    }
    if (std::isnan(x)) continue;  // the sign of a NaN printf shows varies
    ASSERT_EQ(Fixed(x, decimals), Printf(x, decimals)) << x << " " << decimals;
  }
  EXPECT_EQ(Fixed(HUGE_VAL, 2), "inf");
  EXPECT_EQ(Fixed(-HUGE_VAL, 2), "-inf");
  EXPECT_EQ(Fixed(std::nan(""), 2), "nan");
  EXPECT_EQ(Fixed(-std::nan(""), 2), "-nan");
}

// Fixed decimals by integer arithmetic where that is safe, from the exact
// expansion elsewhere: always the bytes printf gives, ties and near-ties included.
TEST(NumbersTest, FixedDecimalsNearTiesAreWhatPrintfWrites) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> unit(0, 1);
  auto check = [](double x, int decimals) {
    char expected[512];
    std::snprintf(expected, sizeof expected, "%.*f", decimals, x);
    std::string text;
    AppendFixed(text, x, decimals);
    EXPECT_EQ(text, expected) << x << " " << decimals;
  };
  for (int round = 0; round < 100000; ++round) {
    int decimals = static_cast<int>(random() % 12);
    double magnitude = std::pow(10.0, static_cast<double>(random() % 16) - 3);
    double x = unit(random) * magnitude;
    if (random() % 3 == 0) {
      // Right at or next to a half of the last decimal.
      double step = std::pow(10.0, -decimals);
      x = (std::floor(x / step) + 0.5) * step;
      if (random() % 2) x = std::nextafter(x, random() % 2 ? 0.0 : 1e300);
    }
    if (random() % 2) x = -x;
    check(x, decimals);
  }
  for (double x : {0.0, -0.0, 0.5, 1.5, 2.5, -0.0001, 12.75, 1e15, 8796093022208.5, 0.125}) {
    for (int decimals : {0, 1, 2, 3, 9, 10}) check(x, decimals);
  }
  check(std::nan(""), 2);
  check(HUGE_VAL, 2);
}

}  // namespace
}  // namespace text
