#include "danvora/number_fields.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dc/fields.h"

namespace danvora {
namespace {

// The same bits, so that -0 and 0 differ.
::testing::AssertionResult SameDouble(double expected, double actual) {
  uint64_t a, b;
  std::memcpy(&a, &expected, sizeof a);
  std::memcpy(&b, &actual, sizeof b);
  if (a == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected " << expected << ", got " << actual;
}

void ExpectAsDc(const std::string& text) {
  EXPECT_TRUE(SameDouble(dc::ParseNumber(text), ParseFieldNumber(text)))
      << "\"" << text << "\"";
}

TEST(NumberFieldsTest, ParsesAsDc) {
  for (const char* text :
       {"", " ", "0", "-0", "-0.000", "+1", "1.", ".5", "-.5", ".", "-", "+-1",
        "--1", "12abc", "1e3", "1E-3", "1e", "1e+", "2.5e1x", "  \t12", "\t-3",
        "12 34", "123456789012345", "1234567890123456", "0.000000000000001",
        "000000000000000012.5", "99999999999999.9", "9007199254740993",
        "6100000.000     ", "-999999999.999", "1.7976931348623157e308",
        "1e400", "1e-400", "0.1", "0.3", "2.675", "1.005", "6378137"}) {
    ExpectAsDc(text);
  }
}

TEST(NumberFieldsTest, RandomDecimalsAsDc) {
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
    ExpectAsDc(text);
  }
}

TEST(NumberFieldsTest, FieldsAsDc) {
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
      for (int unit : {0, 1, 2, 3}) {
        EXPECT_TRUE(SameDouble(dc::DecodeDistance(line, column, unit),
                               DistanceField(line, column, unit)));
        EXPECT_TRUE(SameDouble(dc::DecodeAngle(line, column, unit),
                               AngleField(line, column, unit)));
      }
      EXPECT_TRUE(SameDouble(dc::DecodeNumber(line, column),
                             NumberField(line, column)));
      for (int order : {1, 2}) {
        dc::Units units;
        units.distance = 2;
        units.coord_order = order;
        const dc::Triple a = dc::DecodeTriple(line, column, units);
        const dc::Triple b = TripleField(line, column, units);
        EXPECT_TRUE(SameDouble(a.x, b.x));
        EXPECT_TRUE(SameDouble(a.y, b.y));
        EXPECT_TRUE(SameDouble(a.z, b.z));
      }
    }
  }
}

}  // namespace
}  // namespace danvora
