#include "dc/fields.h"

#include <gtest/gtest.h>

#include <string>

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
  EXPECT_EQ(DecodeDigit(line, 4), 3);
  EXPECT_EQ(DecodeDigit(line, 5), -16);
  EXPECT_EQ(DecodeDigit(line, 6), 21);
  EXPECT_EQ(DecodeDigit(line, 7), 62);
  EXPECT_EQ(DecodeDigit(line, 8), 15);
  EXPECT_EQ(DecodeDigit(line, 9), 14);
  EXPECT_EQ(DecodeDigit(line, 10), 10);
  EXPECT_EQ(DecodeDigit(line, 11), kDigitBeyondLine);
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
  EXPECT_FALSE(IsPresent(kMissing));
  EXPECT_TRUE(IsPresent(-8999999.0));
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
  t = DecodeTripleFixedOrder(line, 20, 1);
  EXPECT_EQ(t.x, 2.0);
  EXPECT_EQ(t.y, 1.0);
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
