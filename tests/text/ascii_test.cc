#include "text/ascii.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(BlanksTest, RunsAsTheStringSearchesFindThem) {
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
