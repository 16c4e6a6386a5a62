#include "dc/fields.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/same_double.h"

namespace dc {
namespace {

// A 16-character field holding `text`, right-aligned as the field software
// writes numbers.
std::string Field16(const std::string& text) {
  return std::string(16 - text.size(), ' ') + text;
}

TEST(FieldSliceTest, NeverPastTheLine) {
  EXPECT_EQ(FieldSlice("0123456789", 4, 16), "456789");
  EXPECT_EQ(FieldSlice("0123456789", 10, 16), "");
  EXPECT_EQ(FieldSlice("0123456789", 200, 16), "");
  EXPECT_EQ(FieldSlice("0123456789", 2, 2), "23");
}

TEST(TextTest, Escapes) {
  EXPECT_EQ(Unescape("K*obenhavn"), "K\xF8" "benhavn");
  EXPECT_EQ(Unescape("*Arhus"), "\xC5rhus");
  EXPECT_EQ(Unescape("A*B"), "AxB");
  EXPECT_EQ(Unescape("AB*"), "ABx");
  EXPECT_EQ(Unescape("*E*O*a*e"), "\xC6\xD8\xE5\xE6");
  EXPECT_EQ(Unescape("**a"), "x\xE5");
}

TEST(TextTest, TrimsThenUnescapes) {
  const std::string line = "08KI" + std::string("  K*obenhavn    ") + "rest";
  EXPECT_EQ(DecodeText(line, 4, 16), "K\xF8" "benhavn");
  EXPECT_EQ(DecodeText("08KI" + std::string(16, ' '), 4, 16), "");
  // The blank after the asterisk is inside the trimmed field and stays.
  EXPECT_EQ(DecodeText("13NM AB* ", 4, 60), "ABx");
  EXPECT_EQ(DecodeText("13NM A* B", 4, 60), "Ax B");
  // Cut by the end of the line, or past it.
  EXPECT_EQ(DecodeText("10NMJob", 4, 16), "Job");
  EXPECT_EQ(DecodeText("10NM", 4, 16), "");
  EXPECT_EQ(DecodeText("10", 4, 16), "");
}

TEST(NumberTest, LongestPrefixWithoutLocale) {
  EXPECT_DOUBLE_EQ(ParseNumber("  123.25abc"), 123.25);
  EXPECT_DOUBLE_EQ(ParseNumber("-0.5"), -0.5);
  EXPECT_DOUBLE_EQ(ParseNumber("+7"), 7.0);
  EXPECT_DOUBLE_EQ(ParseNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseNumber("5."), 5.0);
  EXPECT_DOUBLE_EQ(ParseNumber("1.5e2x"), 150.0);
  EXPECT_DOUBLE_EQ(ParseNumber("1.5e"), 1.5);
  EXPECT_DOUBLE_EQ(ParseNumber("1,5"), 1.0);
  EXPECT_EQ(ParseNumber("abc"), 0.0);
  EXPECT_EQ(ParseNumber(""), 0.0);
  EXPECT_EQ(ParseNumber("-"), 0.0);
  EXPECT_EQ(ParseNumber("."), 0.0);
  // No hexadecimal and no infinities.
  EXPECT_EQ(ParseNumber("0x10"), 0.0);
  EXPECT_EQ(ParseNumber("inf"), 0.0);
  EXPECT_EQ(ParseNumber("nan"), 0.0);
  EXPECT_GT(ParseNumber("1e999"), 1e300);
  EXPECT_LT(ParseNumber("-1e999"), -1e300);
  EXPECT_EQ(ParseNumber("1e-999"), 0.0);
  size_t used = 0;
  ParseNumber(" 12.5,3", &used);
  EXPECT_EQ(used, 5u);
}

using pelixo::testing::SameDouble;

// A number is read as strtod reads it in the "C" locale (the tests run in
// it), too large a number as the largest double.
void ExpectAsStrtod(const std::string& text) {
  char* end = nullptr;
  double expected = std::strtod(text.c_str(), &end);
  if (std::isinf(expected)) expected = std::copysign(DBL_MAX, expected);
  // Nothing read is 0; the Windows C library gives -0 after a lone "-".
  if (end == text.c_str()) expected = 0.0;
  size_t used = 99;
  EXPECT_TRUE(SameDouble(expected, ParseNumber(text, &used))) << '"' << text << '"';
  EXPECT_EQ(used, static_cast<size_t>(end - text.c_str())) << '"' << text << '"';
}

TEST(NumberTest, ParsesAsStrtod) {
  for (const char* text :
       {"", " ", "0", "-0", "-0.000", "+1", "1.", ".5", "-.5", ".", "-", "+-1",
        "--1", "12abc", "1e3", "1E-3", "1e", "1e+", "2.5e1x", "  \t12", "\t-3",
        "12 34", "123456789012345", "1234567890123456", "0.000000000000001",
        "000000000000000012.5", "99999999999999.9", "9007199254740993",
        "6100000.000     ", "-999999999.999", "1.7976931348623157e308",
        "1e400", "1e-400", "0.1", "0.3", "2.675", "1.005", "6378137"}) {
    ExpectAsStrtod(text);
  }
}

TEST(NumberTest, RandomDecimalsAsStrtod) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    std::string text(random() % 4, ' ');
    if (random() % 3 == 0) text += random() % 2 ? '-' : '+';
    const int before = static_cast<int>(random() % 12);
    const int after = static_cast<int>(random() % 10);
    auto digits = [&](int count) {
      for (int d = 0; d < count; ++d) {
        text += static_cast<char>('0' + random() % 10);
      }
    };
    digits(before);
    if (random() % 5 != 0) text += '.';
    digits(after);
    text.append(random() % 4, ' ');
    ExpectAsStrtod(text);
  }
}

// Each field decoder over real record lines: the field as strtod reads it,
// missing when all 16 characters are blank or below the sentinel, scaled.
TEST(NumberTest, FieldsAsStrtodReadsThem) {
  const std::vector<std::string> lines = {
      "02NMS0              6100000.000     500000.000      10.000          "
      "1.650",
      "02NMS0                                              -9999999.000    "
      "12",
      "09NMS0              T0              123.456         99.8765         "
      "2",
      "B2NMP1",
      "B2NMP1                12.5",
  };
  for (const std::string& line : lines) {
    for (size_t column : {4, 20, 36, 52, 68, 84}) {
      const std::string field(FieldSlice(line, column, kNumberWidth));
      const double number = std::strtod(field.c_str(), nullptr);
      EXPECT_TRUE(SameDouble(number, DecodeNumber(line, column)));
      const bool missing = (field.size() == kNumberWidth &&
                            field.find_first_not_of(' ') == std::string::npos) ||
                           number < kPresentAbove;
      for (int unit : {0, 1, 2, 3}) {
        EXPECT_TRUE(SameDouble(missing ? kMissing : DistanceToMetres(number, unit),
                               DecodeDistance(line, column, unit)));
        EXPECT_TRUE(SameDouble(missing ? kMissing : AngleToGon(number, unit),
                               DecodeAngle(line, column, unit)));
      }
      for (int order : {1, 2}) {
        Units units;
        units.distance = 2;
        units.coord_order = order;
        const Triple t = DecodeTriple(line, column, units);
        const double a = DecodeDistance(line, column, 2);
        const double b = DecodeDistance(line, column + 16, 2);
        EXPECT_TRUE(SameDouble(order == 2 ? a : b, t.x));
        EXPECT_TRUE(SameDouble(order == 2 ? b : a, t.y));
        EXPECT_TRUE(SameDouble(DecodeDistance(line, column + 32, 2), t.z));
      }
    }
  }
}

TEST(NumberTest, FieldsHaveNoUnits) {
  const std::string line = "64NM" + Field16("9") + Field16("0.9996");
  EXPECT_DOUBLE_EQ(DecodeNumber(line, 4), 9.0);
  EXPECT_DOUBLE_EQ(DecodeNumber(line, 20), 0.9996);
  EXPECT_EQ(DecodeNumber(line, 36), 0.0);
  EXPECT_EQ(DecodeNumber("64NM" + std::string(16, ' '), 4), 0.0);
}

TEST(IntegerTest, FieldsAndDigits) {
  EXPECT_EQ(DecodeInteger("75NM" + Field16("T5") + "  1234", 20, 6), 1234);
  EXPECT_EQ(DecodeInteger("62NM12", 4, 2), 12);
  EXPECT_EQ(DecodeInteger("62NM7", 4, 2), 7);
  EXPECT_EQ(DecodeInteger("62NM", 4, 2), 0);
  EXPECT_EQ(ParseInteger("-42x"), -42);
  EXPECT_EQ(ParseInteger("99999999999"), 2147483647);
  EXPECT_EQ(ParseInteger("-99999999999"), -2147483647 - 1);
}

TEST(DigitTest, OffsetsFromZero) {
  const std::string line = "D0NM3 En?>:";
  const int expected[] = {3, -16, 21, 62, 15, 14, 10, kDigitBeyondLine};
  for (size_t column = 4; column < 12; ++column) {
    EXPECT_EQ(DecodeDigit(line, column), expected[column - 4]) << column;
  }
  EXPECT_EQ(DecodeDigit(line, 5000), kDigitBeyondLine);
}

TEST(DistanceTest, UnitsAndSentinel) {
  const std::string line = "77NM" + Field16("1.50");
  EXPECT_DOUBLE_EQ(DecodeDistance(line, 4, 1), 1.5);
  EXPECT_EQ(DecodeDistance(line, 4, 2), 0.45720091440182875);
  EXPECT_EQ(DecodeDistance(line, 4, 3), 0.45720091440182875);
  EXPECT_DOUBLE_EQ(DecodeDistance(line, 4, 0), 1.5);
  const std::string blanks = "77NM" + std::string(16, ' ');
  for (int unit = 0; unit <= 3; ++unit) {
    EXPECT_EQ(DecodeDistance(blanks, 4, unit), kMissing) << unit;
    EXPECT_EQ(DecodeAngle(blanks, 4, unit), kMissing) << unit;
  }
  // Below -9000000 counts as missing, before any scaling.
  EXPECT_EQ(DecodeDistance("77NM" + Field16("-9000001"), 4, 2), kMissing);
  EXPECT_EQ(DecodeDistance("77NM" + Field16("-999999999.999"), 4, 1),
            kMissing);
  EXPECT_DOUBLE_EQ(DecodeDistance("77NM" + Field16("-9000000"), 4, 1),
                   -9000000.0);
}

TEST(DistanceTest, ShortFieldsAreNotMissing) {
  // Cut by the end of the line: decoded from what remains.
  EXPECT_DOUBLE_EQ(DecodeDistance("77NM   2.5", 4, 1), 2.5);
  EXPECT_EQ(DecodeDistance("77NM", 4, 1), 0.0);
  EXPECT_EQ(DecodeDistance("77NM     ", 4, 1), 0.0);
  EXPECT_EQ(DecodeAngle("07", 36, 2), 0.0);
}

TEST(AngleTest, PerUnit) {
  const std::string line = "09NM" + Field16("90");
  EXPECT_DOUBLE_EQ(DecodeAngle(line, 4, 1), 100.0);
  EXPECT_EQ(DecodeAngle(line, 4, 2), 90.0);
  EXPECT_EQ(DecodeAngle(line, 4, 3), 5.625);
  EXPECT_EQ(DecodeAngle(line, 4, 0), 90.0);
}

TEST(TripleTest, CoordinateOrder) {
  const std::string line =
      "08NM" + Field16("P1") + Field16("1") + Field16("2") + Field16("3");
  Units units;
  units.distance = 1;
  units.coord_order = 2;
  Triple t = DecodeTriple(line, 20, units);
  EXPECT_EQ(t.x, 1.0);
  EXPECT_EQ(t.y, 2.0);
  EXPECT_EQ(t.z, 3.0);
  for (int order : {0, 1, 3}) {
    units.coord_order = order;
    t = DecodeTriple(line, 20, units);
    EXPECT_EQ(t.x, 2.0) << order;
    EXPECT_EQ(t.y, 1.0) << order;
    EXPECT_EQ(t.z, 3.0) << order;
  }
  units.coord_order = 2;
  units.distance = 2;
  t = DecodeTriple(line, 20, units);
  EXPECT_EQ(t.x, 0.3048006096012192);
}

TEST(TripleTest, MissingAndCutComponents) {
  const std::string line = "08NM" + Field16("P1") + std::string(16, ' ') +
                           Field16("2") + "  3";
  Units units;
  units.coord_order = 2;
  const Triple t = DecodeTriple(line, 20, units);
  EXPECT_EQ(t.x, kMissing);
  EXPECT_EQ(t.y, 2.0);
  EXPECT_EQ(t.z, 3.0);
}

TEST(UnitsTest, AtmosphereConversions) {
  EXPECT_DOUBLE_EQ(PressureToMillibar(750, 1), 1000.0);
  EXPECT_DOUBLE_EQ(PressureToMillibar(30, 2), 1016.0);
  EXPECT_EQ(PressureToMillibar(1000, 3), 1000.0);
  EXPECT_DOUBLE_EQ(TemperatureToCelsius(212, 2), 100.0);
  EXPECT_EQ(TemperatureToCelsius(20, 1), 20.0);
}

}  // namespace
}  // namespace dc
