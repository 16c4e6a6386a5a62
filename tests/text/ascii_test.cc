#include "text/ascii.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(AsciiTest, TrimRemovesAllControlCharacters) {
  EXPECT_EQ(Trim(std::string_view("\x01\t  ab c \r\n\x1f", 12)), "ab c");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(AsciiTest, CaseFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoreCase("upload", "UPLOAD"));
  EXPECT_FALSE(EqualsIgnoreCase("\xE6", "\xC6"));  // æ and Æ stay different
  EXPECT_TRUE(StartsWithIgnoreCase("names=x", "NAME"));
}

TEST(AsciiTest, FindOrderAndHashIgnoreCase) {
  EXPECT_EQ(FindIgnoreCase("x /ONLY y", "/only"), 2u);
  EXPECT_EQ(FindIgnoreCase("ab", "abc"), std::string_view::npos);
  EXPECT_EQ(FindIgnoreCase("ab", ""), 0u);
  // Letters sort as upper case, so "_" (between the cases) comes after them.
  EXPECT_TRUE(LessIgnoreCase("abc", "ABD"));
  EXPECT_FALSE(LessIgnoreCase("ABC", "abc"));
  EXPECT_TRUE(LessIgnoreCase("ab", "AB_"));
  EXPECT_TRUE(LessIgnoreCase("Z", "_"));
  EXPECT_TRUE(LessIgnoreCase("\x7f", "\x80"));  // bytes compare unsigned
  EXPECT_EQ(HashIgnoreCase("Software\\Pelixo"), HashIgnoreCase("SOFTWARE\\pelixo"));
  EXPECT_NE(HashIgnoreCase("a"), HashIgnoreCase("b"));
  EXPECT_NE(HashIgnoreCase("a", 1), HashIgnoreCase("a", 2));
}

TEST(AsciiTest, RunsAsTheStringSearchesFindThem) {
  // Every text of up to 20 characters from blanks and one other letter.
  for (int size = 0; size <= 20; ++size) {
    for (uint32_t pattern = 0; pattern < (1u << size); pattern += 1 + size) {
      std::string text;
      for (int i = 0; i < size; ++i) text += (pattern >> i) & 1 ? 'x' : ' ';
      const std::string_view view = text;
      const char* const begin = text.data();
      const char* const end = begin + text.size();
      const size_t first = view.find_first_not_of(' ');
      const size_t last = view.find_last_not_of(' ');
      EXPECT_EQ(SkipBlanks(begin, end) - begin,
                static_cast<ptrdiff_t>(first == view.npos ? text.size()
                                                          : first))
          << '"' << text << '"';
      EXPECT_EQ(TrimTrailingBlanks(begin, end) - begin,
                static_cast<ptrdiff_t>(last == view.npos ? 0 : last + 1))
          << '"' << text << '"';
      EXPECT_EQ(AllBlanks(view), first == view.npos) << '"' << text << '"';
    }
  }
}

}  // namespace
}  // namespace text
