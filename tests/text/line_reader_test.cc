#include "text/line_reader.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/random_text.h"

namespace text {
namespace {

using Lines = std::vector<std::string>;

template <const LineRules& kRules>
Lines Read(std::string_view text) {
  Lines lines;
  LineReader<kRules> reader(text);
  for (std::string_view line; reader.Next(&line);) lines.emplace_back(line);
  return lines;
}

// Pelixo's rules, character by character.
Lines SimplePelixoLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  Lines lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

// Windows text mode (CR LF read as LF, a Ctrl-Z ends the file) and fgets
// into a buffer of `buffer` bytes, the line feed removed; a line is kept to
// `keep` characters and, when `nul_ends_line`, cut at a NUL.
Lines SimpleTextModeLines(std::string_view bytes, size_t buffer, size_t keep, bool nul_ends_line) {
  bytes = bytes.substr(0, bytes.find('\x1a'));
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  Lines lines;
  size_t at = 0;
  while (at < text.size()) {
    std::string line;
    while (at < text.size() && line.size() + 1 < buffer) {
      const char c = text[at++];
      if (c == '\n') break;
      line += c;
    }
    line = line.substr(0, keep);
    if (nul_ends_line) line = line.substr(0, line.find('\0'));
    lines.push_back(line);
  }
  return lines;
}

TEST(LineReaderTest, PelixoLinesEndAtEveryLineEnd) {
  EXPECT_EQ(Read<kPelixoLines>("a\r\nb\nc\rd\r\n\r\ne"), (Lines{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(Read<kPelixoLines>(std::string_view("x\ny\0z\n", 6)), (Lines{"x", "y"}));
  EXPECT_EQ(Read<kPelixoLines>(""), Lines{});
  EXPECT_EQ(Read<kPelixoLines>(std::string_view()), Lines{});
  EXPECT_EQ(Read<kPelixoLines>("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Read<kPelixoLines>("\r\r"), (Lines{"", ""}));
}

TEST(LineReaderTest, LibraryLinesAsWindowsTextMode) {
  EXPECT_EQ(Read<kLibraryLines>("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(Read<kLibraryLines>("a\r\n\r\n"), (Lines{"a", ""}));
  // A lone CR stays; CR CR LF keeps the first CR.
  EXPECT_EQ(Read<kLibraryLines>("a\rb\r\r\nc\r"), (Lines{"a\rb\r", "c\r"}));
  EXPECT_EQ(Read<kLibraryLines>("a\nb\x1A" "c\nd\n"), (Lines{"a", "b"}));
  EXPECT_EQ(Read<kLibraryLines>(std::string("a\0b\n", 4)), (Lines{std::string("a\0b", 3)}));
  // A long line is one line, kept to 256 characters.
  EXPECT_EQ(Read<kLibraryLines>(std::string(70000, 'x') + "\r\nnext\r\n"),
            (Lines{std::string(256, 'x'), "next"}));
}

TEST(LineReaderTest, CoordinateFileLinesComeInPieces) {
  const std::string piece(320, 'x');
  EXPECT_EQ(Read<kCoordinateFileLines>(piece + "y\r\nz"), (Lines{piece, "y", "z"}));
  EXPECT_EQ(Read<kCoordinateFileLines>(piece + "\r\nz"), (Lines{piece, "", "z"}));
  EXPECT_EQ(Read<kCoordinateFileLines>(piece.substr(1) + "\r\nz"), (Lines{piece.substr(1), "z"}));
  EXPECT_EQ(Read<kCoordinateFileLines>(std::string("ab\0c\r\nd", 7)), (Lines{"ab", "d"}));
}

// Random texts of the characters that matter, against the rules written
// out character by character.
TEST(LineReaderTest, RandomTextsAsTheRulesSay) {
  std::mt19937_64 random(20261210);
  for (int round = 0; round < 20000; ++round) {
    std::string text = tests_support::RandomText(random, "ab\r\n\r\n\n\r\x1a");
    // Now and then a line around the piece length.
    if (random() % 8 == 0) text.insert(random() % (text.size() + 1), 318 + random() % 4, 'p');
    const std::string shown = ::testing::PrintToString(text);
    EXPECT_EQ(Read<kPelixoLines>(text), SimplePelixoLines(text)) << shown;
    EXPECT_EQ(Read<kLibraryLines>(text), SimpleTextModeLines(text, SIZE_MAX, 256, false)) << shown;
    EXPECT_EQ(Read<kCoordinateFileLines>(text), SimpleTextModeLines(text, 321, SIZE_MAX, true))
        << shown;
  }
}

}  // namespace
}  // namespace text
