#include "pelixo/core/text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/random_text.h"

namespace pelixo {
namespace {

TEST(TextTest, SplitLinesAtEveryLineEnd) {
  auto lines = SplitLines("a\r\nb\nc\rd\r\n\r\ne");
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[3], "d");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "e");
  EXPECT_EQ(SplitLines(std::string_view("x\ny\0z\n", 6)).size(), 2u);
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_TRUE(SplitLines(std::string_view()).empty());
  EXPECT_EQ(SplitLines("\r\n").size(), 1u);
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("\r\r"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("a\rb\r\n\nc"), (Lines{"a", "b", "", "c"}));
}

TEST(TextTest, ParseRealTakesOnlyPlainDecimals) {
  double x = 0;
  EXPECT_TRUE(ParseReal("-12.5", &x));
  EXPECT_EQ(x, -12.5);
  EXPECT_TRUE(ParseReal("  +1.5e2", &x, " "));
  EXPECT_EQ(x, 150);
  EXPECT_TRUE(ParseReal(".5", &x));
  EXPECT_EQ(x, 0.5);
  EXPECT_TRUE(ParseReal("5.", &x));
  EXPECT_EQ(x, 5);
  for (const char* text : {"", "-", ".", "1e", "inf", "nan", "0x1", " 1", "1 ", "1e999", "1.2.3"}) {
    EXPECT_FALSE(ParseReal(text, &x)) << text;
  }
}

// Short numbers take a quicker road than from_chars; both must give the
// same double, bit for bit.
TEST(TextTest, ParseRealGivesWhatFromCharsGives) {
  std::mt19937 random(8122026);
  for (int round = 0; round < 50000; ++round) {
    std::string text = random() % 3 == 0 ? "-" : "";
    size_t digits = 1 + random() % 17;
    size_t point = random() % (digits + 2);
    for (size_t i = 0; i < digits; ++i) {
      if (i == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    double parsed = 0, expected = 0;
    ASSERT_TRUE(ParseReal(text, &parsed)) << text;
    std::string_view unsigned_text = std::string_view(text).substr(text[0] == '-' ? 1 : 0);
    std::from_chars(unsigned_text.data(), unsigned_text.data() + unsigned_text.size(), expected);
    if (text[0] == '-') expected = -expected;
    EXPECT_EQ(parsed, expected) << text;
    EXPECT_EQ(std::signbit(parsed), std::signbit(expected)) << text;
  }
}

// A plain decimal's text gives what "%.*f" makes of the double it reads
// as, or nothing at all.
TEST(TextTest, FixedDecimalsOfTextAreWhatPrintfWritesOfTheNumber) {
  std::mt19937_64 random(20261209);
  int taken = 0;
  for (int round = 0; round < 200000; ++round) {
    std::string text;
    if (random() % 4 == 0) text += '-';
    const int integer_digits = static_cast<int>(random() % 17);
    for (int i = 0; i < integer_digits; ++i) text += static_cast<char>('0' + random() % 10);
    if (random() % 5 != 0) {
      text += random() % 8 == 0 ? ',' : '.';
      const int fraction_digits = static_cast<int>(random() % 12);
      for (int i = 0; i < fraction_digits; ++i) text += static_cast<char>('0' + random() % 10);
    }
    const int decimals = static_cast<int>(random() % 13) - 1;
    std::string out = "x";
    const bool plain = AppendFixedDecimalsOfText(out, text, decimals, ',');
    if (!plain) {
      EXPECT_EQ(out, "x") << text;
      continue;
    }
    ++taken;
    std::string number = text;
    for (char& c : number) {
      if (c == ',') c = '.';
    }
    double x = 0;
    ASSERT_TRUE(ParseReal(number, &x)) << text;
    char expected[512];
    std::snprintf(expected, sizeof expected, "%.*f", decimals, x);
    EXPECT_EQ(out, "x" + std::string(expected)) << text << " " << decimals;
  }
  EXPECT_GT(taken, 10000);
  std::string out;
  EXPECT_TRUE(AppendFixedDecimalsOfText(out, "-0.000", 3));
  EXPECT_EQ(out, "-0.000");
  for (const char* text : {"007", "1.", ".5", "+1", "1e3", "1,5", "", "-", "1 "}) {
    EXPECT_FALSE(AppendFixedDecimalsOfText(out, text, 3)) << text;
  }
  EXPECT_FALSE(AppendFixedDecimalsOfText(out, "1.25", 1));  // would round
  EXPECT_FALSE(AppendFixedDecimalsOfText(out, "1234567.5", 9));  // 16 digits
  EXPECT_EQ(out, "-0.000");
}

// The line reader and the splitter give the same lines (the rules
// themselves: LineReaderTest).
TEST(TextTest, LineReaderGivesTheLinesOfSplitLines) {
  std::mt19937_64 random(20261210);
  for (int round = 0; round < 20000; ++round) {
    std::string text = tests_support::RandomText(random, "ab\r\n\r\n\n\r");
    std::vector<std::string_view> lines;
    LineReader reader(text);
    for (std::string_view line; reader.Next(&line);) lines.push_back(line);
    EXPECT_EQ(SplitLines(text), lines) << round;
  }
  LineReader empty{std::string_view()};
  std::string_view line;
  EXPECT_FALSE(empty.Next(&line));
}

TEST(TextTest, ParseInteger) {
  int v = 0;
  EXPECT_TRUE(ParseInteger("-12", &v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(ParseInteger("$ff", &v));
  EXPECT_EQ(v, 255);
  EXPECT_TRUE(ParseInteger("2147483647", &v));
  EXPECT_FALSE(ParseInteger("2147483648", &v));
  EXPECT_TRUE(ParseInteger("-2147483648", &v));
  EXPECT_FALSE(ParseInteger("", &v));
  EXPECT_FALSE(ParseInteger("1 2", &v));
  EXPECT_FALSE(ParseInteger("+", &v));
}

}  // namespace
}  // namespace pelixo
