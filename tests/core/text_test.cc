#include "pelixo/core/text.h"

#include <gtest/gtest.h>

namespace pelixo {
namespace {

TEST(TextTest, TrimRemovesAllControlCharacters) {
  EXPECT_EQ(Trim(std::string_view("\x01\t  ab c \r\n\x1f", 12)), "ab c");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(TextTest, CaseFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoreCase("upload", "UPLOAD"));
  EXPECT_FALSE(EqualsIgnoreCase("\xE6", "\xC6"));  // æ and Æ stay different
  EXPECT_TRUE(StartsWithIgnoreCase("names=x", "NAME"));
}

TEST(TextTest, SplitLinesAtEveryLineEnd) {
  auto lines = SplitLines("a\r\nb\nc\rd\r\n\r\ne");
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[3], "d");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "e");
  EXPECT_EQ(SplitLines(std::string_view("x\ny\0z\n", 6)).size(), 2u);
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("\r\n").size(), 1u);
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("\r\r"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("a\rb\r\n\nc"), (Lines{"a", "b", "", "c"}));
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

TEST(TextTest, Extensions) {
  EXPECT_EQ(ChangeFileExtension("C:\\Data.2024\\site", ".info"), "C:\\Data.2024\\site.info");
  EXPECT_EQ(ChangeFileExtension("/tmp/job.DC", ".tic"), "/tmp/job.tic");
  EXPECT_EQ(FileExtension("a/b.Job"), ".Job");
  EXPECT_EQ(FileExtension("a.b/c"), "");
}

}  // namespace
}  // namespace pelixo
