#include "danvora/text_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/danvora/test_util.h"

namespace danvora {
namespace {

std::vector<std::string> ReadAll(const std::string& bytes, size_t keep = 1000) {
  const std::string path =
      testing::TestFolder(
          std::string("text_") +
          ::testing::UnitTest::GetInstance()->current_test_info()->name()) +
      "in.txt";
  testing::WriteFile(path, bytes);
  auto reader = TextFileReader::Open(path);
  EXPECT_TRUE(reader.has_value());
  std::vector<std::string> lines;
  std::string line;
  while (reader && reader->ReadLine(&line, keep)) lines.push_back(line);
  return lines;
}

TEST(TextFileTest, ReadsAsWindowsTextMode) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ReadAll("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(ReadAll("a\r\n\r\n"), (Lines{"a", ""}));
  // A lone CR stays; CR CR LF keeps the first CR.
  EXPECT_EQ(ReadAll("a\rb\r\r\nc\r"), (Lines{"a\rb\r", "c\r"}));
  // Ctrl-Z ends the file.
  EXPECT_EQ(ReadAll("a\nb\x1A" "c\nd\n"), (Lines{"a", "b"}));
  EXPECT_EQ(ReadAll(""), Lines{});
  EXPECT_EQ(ReadAll(std::string("a\0b\n", 4)), (Lines{std::string("a\0b", 3)}));
}

TEST(TextFileTest, LongLinesStayOneLine) {
  const std::string long_line(70000, 'x');
  const auto lines = ReadAll(long_line + "\r\nnext\r\n", 256);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(256, 'x'));
  EXPECT_EQ(lines[1], "next");
  // A CR LF across the reader's buffer boundary is still one line end.
  const std::string edge(65535, 'y');
  const auto split = ReadAll(edge + "\r\nz", 70000);
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0], edge);
  EXPECT_EQ(split[1], "z");
}

TEST(TextFileTest, MissingFile) {
  EXPECT_FALSE(TextFileReader::Open(testing::TestFolder("text_missing") +
                                    "none.txt")
                   .has_value());
}

TEST(TextFileTest, WritesCrLfAndCommitsOnlyWhole) {
  const std::string dir = testing::TestFolder("text_write");
  const std::string path = dir + "out.txt";
  testing::WriteFile(path, "old");
  {
    auto out = TextOutput::Create(path);
    ASSERT_TRUE(out);
    out->Write("a\nb\n\nc");
    // Not committed: the old content stays.
  }
  EXPECT_EQ(testing::ReadFile(path), "old");
  auto out = TextOutput::Create(path);
  ASSERT_TRUE(out);
  out->Write("a\nb\n\nc");
  ASSERT_TRUE(out->Commit());
  EXPECT_EQ(testing::ReadFile(path), "a\r\nb\r\n\r\nc");
}

}  // namespace
}  // namespace danvora
