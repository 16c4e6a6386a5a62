#include "dc/record_code.h"

#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

namespace dc {
namespace {

TEST(RecordCodeTest, DigitCodesAreTheirNumber) {
  EXPECT_EQ(RecordCode("08KI  P1"), 8);
  EXPECT_EQ(RecordCode("69KI"), 69);
  EXPECT_EQ(RecordCode("00NM"), 0);
  EXPECT_EQ(RecordCode("13NM note"), 13);
  // A "0" followed by a non-digit is record 00 too.
  EXPECT_EQ(RecordCode("0X"), 0);
  EXPECT_EQ(RecordCode("0"), 0);
}

TEST(RecordCodeTest, LetterCodes) {
  for (auto [line, code] : std::initializer_list<std::pair<const char*, int>>{
           {"A0NM", 100}, {"A6NM", 106}, {"B1NM", 111}, {"B2NM", 112}, {"B6NMLamp", 116},
           {"C6NM", 126}, {"C8NM", 128}, {"D0NM", 130}, {"D2NM", 132}, {"D4NM", 134},
           {"D9M2", 139}, {"E0NM", 140}, {"E1NM", 141}, {"E2NM", 142}, {"E4NM", 144}}) {
    EXPECT_EQ(RecordCode(line), code) << line;
  }
}

TEST(RecordCodeTest, NameConstantsMatchLines) {
  for (const char* name : {"00", "02", "05", "08", "09", "10", "69", "A0",
                           "B6", "C8", "D4", "D9", "E4"}) {
    std::string line = std::string(name) + "NM    ";
    EXPECT_EQ(Code(name), RecordCode(line)) << name;
  }
  static_assert(Code("B6") == 116);
  static_assert(Code("08") == 8);
  static_assert(Code("00") == 0);
}

TEST(RecordCodeTest, DigitsInFlagsJoinTheNumber) {
  EXPECT_EQ(RecordCode("0812"), 812);
  EXPECT_EQ(RecordCode(" 9NM"), 9);
  EXPECT_EQ(RecordCode("-79"), -79);
}

TEST(RecordCodeTest, ShortAndOddLines) {
  EXPECT_EQ(RecordCode(""), kUnlistedCode);
  EXPECT_EQ(RecordCode("B"), kUnlistedCode);
  EXPECT_EQ(RecordCode("99999999999999999999"), 2147483647);
  // Bytes above 0x7F count as unsigned character codes.
  EXPECT_EQ(RecordCode("\xFF\xFF"), 10 * 255 + 255 - 598);
}

TEST(RecordCodeTest, Flags) {
  EXPECT_EQ(RecordFlags("66SO  P1"), "SO");
  EXPECT_EQ(RecordFlags("66S"), "S");
  EXPECT_EQ(RecordFlags("66"), "");
  EXPECT_EQ(RecordFlags(""), "");
  EXPECT_TRUE(StartsWithRecord("B6NMcode", "B6"));
  EXPECT_FALSE(StartsWithRecord("b6NMcode", "B6"));
  EXPECT_FALSE(StartsWithRecord("B", "B6"));
}

}  // namespace
}  // namespace dc
