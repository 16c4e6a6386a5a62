#include "text/format.h"

#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(FormatTest, CStyleWidthsAndRounding) {
  EXPECT_EQ(Format("%15.3lf", 6123456.75), "    6123456.750");
  EXPECT_EQ(Format("%10.10s|", "P1"), "        P1|");
  EXPECT_EQ(Format("%-12.12s|", "ABCDEFGHIJKLMNOP"), "ABCDEFGHIJKL|");
  EXPECT_EQ(Format("%4.4s", "3_GEL"), "3_GE");
  EXPECT_EQ(Format("%1.1s|", ""), " |");
  EXPECT_EQ(Format("%0.3lf", -999999999.999), "-999999999.999");
  EXPECT_EQ(Format("%6.2lf", -999999999.999), "-1000000000.00");
  EXPECT_EQ(Format("%.3lf", 0.0005), "0.001");  // just above the tie
  EXPECT_EQ(Format("%.0lf", 2.5), "2");         // exact tie: to even
  EXPECT_EQ(Format("%.3lf", -0.0001), "-0.000");
  EXPECT_EQ(Format("%02d-%02d-%02d", 8, 12, 26), "08-12-26");
  EXPECT_EQ(Format("%1.1d|%3d|%-4d|", 12, 8, 7), "12|  8|7   |");
  EXPECT_EQ(Format("%10d", int64_t{6123456789}), "6123456789");
  EXPECT_EQ(Format("%d%%", 5), "5%");
  EXPECT_EQ(Format("%9.5lf", 399.99999), "399.99999");
  EXPECT_EQ(Format(".%08x.tmp|%x|%+x", 0xBEEFu, -1, 255), ".0000beef.tmp|ffffffff|ff");
  EXPECT_EQ(Format("{%08X-%04X-%02X%02X}", 0x8007000Eu, 0xC0, 0, 0x46), "{8007000E-00C0-0046}");
  EXPECT_EQ(Format("%s"), "");  // a missing argument prints nothing
  // A width or precision too long for an int pads 4096 at most.
  EXPECT_EQ(Format("%610000000000000000d", 5), std::string(4095, ' ') + "5");
  EXPECT_EQ(Format("%.99999999999s|", "P1"), "P1|");
}

TEST(FormatTest, PeriodWhateverTheLocale) {
  // A comma locale, when the machine has one, must not reach the files.
  const char* set = std::setlocale(LC_NUMERIC, "da_DK.UTF-8");
  if (!set) set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(Format("%0.3lf", 1.5), "1.500");
  std::setlocale(LC_NUMERIC, "C");
}

std::string Printf(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

TEST(FormatTest, ConversionsWithoutAFormatMatchTheCLibrary) {
  uint64_t random = 88172645463325252ull;
  auto next = [&] {
    random ^= random << 13;
    random ^= random >> 7;
    random ^= random << 17;
    return random;
  };
  for (int i = 0; i < 20000; ++i) {
    const int width = static_cast<int>(next() % 16);
    const int precision = static_cast<int>(next() % 7);
    const double scale = std::pow(10.0, static_cast<int>(next() % 12) - 3);
    const double value =
        (static_cast<double>(next() % 2000001) - 1000000.0) / 1000.0 * scale;
    std::string real = "|";
    AppendReal(&real, value, width, precision);
    EXPECT_EQ(real, Printf("|%*.*f", width, precision, value));

    const int64_t integer =
        static_cast<int64_t>(next() % 200001) - 100000;
    std::string text = "|";
    AppendInteger(&text, integer, width);
    EXPECT_EQ(text, Printf("|%*lld", width, static_cast<long long>(integer)));

    const std::string name(next() % 14, static_cast<char>('A' + next() % 26));
    std::string left = "|";
    AppendText(&left, name, width, /*left=*/true);
    EXPECT_EQ(left, Printf("|%-*.*s", width, width, name.c_str()));
    std::string right = "|";
    AppendText(&right, name, width);
    EXPECT_EQ(right, Printf("|%*.*s", width, width, name.c_str()));
  }
  std::string extreme;
  AppendInteger(&extreme, INT64_MIN, 4);
  EXPECT_EQ(extreme, "-9223372036854775808");
}

TEST(FormatTest, MillimetresInSixtyFourBits) {
  EXPECT_EQ(TruncateToInt64(6123456789.9), 6123456789);
  EXPECT_EQ(TruncateToInt64(-150000500.7), -150000500);
  EXPECT_EQ(TruncateToInt64(1e300), INT64_MAX);
  EXPECT_EQ(TruncateToInt64(-1e300), INT64_MIN);
  EXPECT_EQ(TruncateToInt64(std::nan("")), 0);
}

}  // namespace
}  // namespace text
