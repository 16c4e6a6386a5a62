// Reading points through upload definitions, on the cases the import
// describes, and input that must not break it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pelixo/core/ascii_import.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text_file.h"

namespace pelixo {
namespace {

struct FieldLayout {
  const char* token;
  bool numeric = false;
  int width = 0;
  int decimals = 0;
  bool right_aligned = true;
  const char* literal = "";
};

TFormatDefinition Definition(bool comma, std::vector<FieldLayout> fields, char pad = ' ') {
  TFormatDefinition definition("Test");
  definition.Upload = true;
  definition.CommaSeparated = comma;
  definition.PadCharacter = pad;
  for (const FieldLayout& layout : fields) {
    auto field = std::make_unique<TField>();
    field->Token = layout.token;
    field->Numeric = layout.numeric;
    field->Width = layout.width;
    field->Decimals = layout.decimals;
    field->RightAligned = layout.right_aligned;
    field->Literal = layout.literal;
    definition.Fields.Add(std::move(field));
  }
  return definition;
}

// Reads the first point of `text`; nothing when it gives none.
std::optional<UploadPoint> Read(const TFormatDefinition& definition, const std::string& text,
                                size_t* index_after = nullptr, char separator = '.') {
  TextFile file = TextFile::FromText(text);
  TUploadReader reader(definition, separator);
  size_t index = 0;
  UploadPoint point;
  bool ok = reader.ConvertLineToRecord(file.lines(), index, point);
  if (index_after != nullptr) *index_after = index;
  if (!ok) return std::nullopt;
  return point;
}

TEST(FormatUploadNumberTest, RewritesNumbersOnly) {
  EXPECT_EQ(FormatUploadNumber("1000.5", 3, '.'), "1000.500");
  EXPECT_EQ(FormatUploadNumber("123456", -2, '.'), "1234.56");
  EXPECT_EQ(FormatUploadNumber("12.75", 0, '.'), "13");
  EXPECT_EQ(FormatUploadNumber("-0.5", 2, '.'), "-0.50");
  EXPECT_EQ(FormatUploadNumber("+7", 1, '.'), "7.0");
  EXPECT_EQ(FormatUploadNumber("  42", 0, '.'), "42");
  EXPECT_EQ(FormatUploadNumber("1e3", 1, '.'), "1000.0");
  EXPECT_EQ(FormatUploadNumber(".5", 1, '.'), "0.5");
  EXPECT_EQ(FormatUploadNumber("5.", 1, '.'), "5.0");
  // Not wholly a number: as it stands.
  for (const char* text : {"", "abc", "12a", "1.2.3", "1e", "e5", ".", "-", "42 ", "1,5", "inf",
                           "nan", "0x10", "1e999"}) {
    EXPECT_EQ(FormatUploadNumber(text, 3, '.'), text) << text;
  }
  // The locale's separator: a comma reads both ways and writes a point.
  EXPECT_EQ(FormatUploadNumber("12,5", 1, ','), "12.5");
  EXPECT_EQ(FormatUploadNumber("12.5", 1, ','), "12.5");
  EXPECT_EQ(FormatUploadNumber("12,5", 1, '.'), "12,5");
  // Implied decimals far beyond a double's reach do not loop or explode.
  EXPECT_EQ(FormatUploadNumber("5", -2147483647 - 1, '.').substr(0, 6), "0.0000");
  EXPECT_EQ(FormatUploadNumber("5", 2147483647, '.').substr(0, 4), "5.00");
}

// Plain decimals skip the round trip through a double; the result must be
// what the round trip gives, whatever the digits.
TEST(FormatUploadNumberTest, PlainDecimalsGiveWhatTheRoundTripGives) {
  std::mt19937 random(20261208);
  auto digits = [&random](size_t count, bool leading_zero_ok) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
      char c = static_cast<char>('0' + random() % 10);
      if (i == 0 && !leading_zero_ok && count > 1 && c == '0') c = '7';
      text += c;
    }
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string text = random() % 4 == 0 ? "-" : "";
    text += digits(1 + random() % 16, random() % 8 == 0);
    if (random() % 3 != 0) {
      text += random() % 2 ? "." : ",";
      text += digits(1 + random() % 8, true);
    }
    int decimals = static_cast<int>(random() % 12) - 1;
    std::string normal = text;
    for (char& c : normal) {
      if (c == ',') c = '.';
    }
    std::string appended = "x";
    AppendUploadNumber(appended, text, decimals, ',');
    EXPECT_EQ(appended.substr(1), FormatUploadNumber(text, decimals, ',')) << text << " " << decimals;
    EXPECT_EQ(appended[0], 'x');
    if (decimals >= 0) {
      char expected[512];
      std::snprintf(expected, sizeof expected, "%.*f", decimals,
                    std::strtod(normal.c_str(), nullptr));
      EXPECT_EQ(appended.substr(1), expected) << text << " " << decimals;
    }
  }
}

TEST(StripPadCharactersTest, OneEndOnly) {
  EXPECT_EQ(StripPadCharacters("**P100", '*', true), "P100");
  EXPECT_EQ(StripPadCharacters("**P100**", '*', true), "P100**");
  EXPECT_EQ(StripPadCharacters("**P100**", '*', false), "**P100");
  EXPECT_EQ(StripPadCharacters("****", '*', false), "");
}

TEST(NamePartTest, OnlyTheTenParts) {
  EXPECT_EQ(NamePartOfToken("name7"), 7);
  EXPECT_EQ(NamePartOfToken("NAME9"), 9);
  EXPECT_EQ(NamePartOfToken("NAME 3"), 3);
  for (const char* token :
       {"NAME", "NAMEX", "NAMES", "NAME10", "NAME-1", "NAME99", "NAME$F", "NAME25X"}) {
    EXPECT_EQ(NamePartOfToken(token), 0) << token;
  }
}

TEST(ConvertLineTest, CommaSeparatedValues) {
  TFormatDefinition d = Definition(true, {{"NAME"}, {"NORTHING", true, 0, 3}, {"EASTING", true, 0, 3},
                                          {"ELEVATION", true, 0, 3}, {"CODE"}});
  std::optional<UploadPoint> p = Read(d, "P1,1000.5,2000,50.25,TREE");
  ASSERT_TRUE(p);
  EXPECT_EQ(std::tie(p->name, p->northing, p->easting, p->elevation, p->code),
            std::tie("P1", "1000.500", "2000.000", "50.250", "TREE"));
  // The last value keeps its blanks; values before a comma are trimmed.
  p = Read(d, " P1 , 1 ,2,3,TREE  ");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "P1");
  EXPECT_EQ(p->northing, "1.000");
  EXPECT_EQ(p->code, "TREE  ");
  // Fewer values than fields: the rest stays empty.
  p = Read(d, "P2,5");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->northing, "5.000");
  EXPECT_EQ(p->easting, "");
  EXPECT_EQ(p->code, "");
}

TEST(ConvertLineTest, TextAndSpaceChecks) {
  TFormatDefinition text = Definition(true, {{"TEXT", false, 0, 0, false, "ID"}, {"NAME"},
                                             {"NORTHING", true, 0, 0}});
  std::optional<UploadPoint> p = Read(text, "ID12,100");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "12");
  EXPECT_EQ(p->northing, "100");
  EXPECT_TRUE(Read(text, "id7,1"));
  EXPECT_FALSE(Read(text, "IX12,100"));
  EXPECT_FALSE(Read(text, "I"));

  TFormatDefinition space = Definition(false, {{"NAME", false, 2}, {"SPACE", false, 3}, {"CODE"}});
  p = Read(space, "P1   TREE");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->code, "TREE");
  EXPECT_FALSE(Read(space, "P1 x TREE"));
  EXPECT_FALSE(Read(space, "P1  "));   // runs past the end of the line
  EXPECT_TRUE(Read(space, "P1   "));   // ends exactly where it is satisfied
  EXPECT_FALSE(Read(space, "P1\t\t\tX"));
}

TEST(ConvertLineTest, FixedColumnsAndPadCharacters) {
  TFormatDefinition d = Definition(false, {{"NAME", false, 6, 0, true}, {"CODE", false, 6, 0, false},
                                           {"NORTHING", true, 6, 1, true}},
                                   '*');
  std::optional<UploadPoint> p = Read(d, "**P100AB****0012.5");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "P100");
  EXPECT_EQ(p->code, "AB");
  EXPECT_EQ(p->northing, "12.5");  // numeric fields keep their pad characters
  p = Read(d, "**P100AB****");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->northing, "");
  // A value that runs past the end of the line takes what is there.
  p = Read(d, "  P7");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "P7");
  // Numeric pad characters are not stripped: "**12.5" is no number.
  p = Read(d, "P     C     **12.5");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->northing, "**12.5");
  // Width 0 takes the rest of the line, trimmed.
  TFormatDefinition rest = Definition(false, {{"NAME", false, 3}, {"CODE", false, 0}});
  p = Read(rest, "P1  the rest  ");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->code, "the rest");
}

TEST(ConvertLineTest, NamePartsDefaultsAndLiterals) {
  TFormatDefinition d = Definition(true, {{"NAME1"}, {"NAME2", false, 0, 0, true, "-"},
                                          {"NORTHING", true, 0, 3, true, "0"}, {"NAMEX"}});
  std::optional<UploadPoint> p = Read(d, "12,A,,Z");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "Z12-A");
  EXPECT_EQ(p->northing, "0.000");
  p = Read(d, "12,,7");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "12--");
  EXPECT_EQ(p->northing, "7.000");
  // A later field of the same kind overwrites; NAME10 and NAME-1 take part 0.
  TFormatDefinition again = Definition(true, {{"NAME"}, {"NAME10"}, {"NAME-1", false, 0, 0, true, "x"},
                                              {"NAME9", false, 0, 0, true, "/"}});
  p = Read(again, "a,b,,9");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "x/9");
}

TEST(ConvertLineTest, BlankLinesGiveNoPoint) {
  TFormatDefinition none = Definition(true, {});
  EXPECT_FALSE(Read(none, ""));
  EXPECT_FALSE(Read(none, " \t "));
  std::optional<UploadPoint> p = Read(none, "anything");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "");
  TFormatDefinition d = Definition(true, {{"NAME"}, {"NORTHING", true, 0, 3, true, "0"}});
  EXPECT_FALSE(Read(d, "   "));
}

TEST(ConvertLineTest, NewlineContinuesOnTheNextLine) {
  TFormatDefinition d = Definition(true, {{"NAME"}, {"NEWLINE"}, {"CODE"}});
  size_t index = 0;
  std::optional<UploadPoint> p = Read(d, "P1,dropped\r\nTREE\r\nP2\r\n", &index);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "P1");
  EXPECT_EQ(p->code, "TREE");
  EXPECT_EQ(index, 1u);
  // A blank line reached through NEWLINE is read as it stands.
  p = Read(d, "P1\r\n\r\n", &index);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->code, "");
  // NEWLINE on the last line gives no point and ends the walk.
  EXPECT_FALSE(Read(d, "P1", &index));
  EXPECT_EQ(index, 1u);
  TFormatDefinition last = Definition(false, {{"NAME", false, 4}, {"NEWLINE"}});
  EXPECT_TRUE(Read(last, "P1\r\nP2", &index));
  EXPECT_EQ(index, 1u);
  EXPECT_FALSE(Read(last, "P2", &index));
}

TEST(ConvertLineTest, HostileInputDoesNotBreakTheReading) {
  // Widths above 255 are taken as 255.
  TFormatDefinition wide = Definition(false, {{"NAME", false, 255}, {"NORTHING", true, 255, 3},
                                              {"CODE", false, 100000}});
  std::string long_line(100000, 'x');
  std::optional<UploadPoint> p = Read(wide, long_line);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, std::string(255, 'x'));
  EXPECT_EQ(p->northing, std::string(255, 'x'));
  EXPECT_EQ(p->code, std::string(255, 'x'));
  TFormatDefinition space = Definition(false, {{"SPACE", false, 255}, {"NAME", false, 0}});
  EXPECT_FALSE(Read(space, long_line));
  p = Read(space, std::string(255, ' ') + "P9");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "P9");

  // A NUL ends the text.
  TextFile file = TextFile::FromText(std::string("P1,1\0P2,2\r\nP3,3", 15));
  ASSERT_EQ(file.size(), 1u);
  EXPECT_EQ(file.lines()[0], "P1,1");

  // Any bytes through every kind of field: no crash, no read outside a line.
  const std::vector<FieldLayout> kinds = {
      {"TEXT", false, 0, 0, false, "1"}, {"NAME3", false, 3, 0, true, "-"},
      {"NORTHING", true, 5, -3},         {"SPACE", false, 1},
      {"NEWLINE"},                       {"EASTING", true, 4, 9},
      {"SKIP", false, 2},                {"ELEVATION", true, 0, 2},
      {"CODE", false, 7, 0, false}};
  TFormatDefinition all = Definition(true, kinds);
  TFormatDefinition fixed = Definition(false, kinds, '#');
  std::mt19937 random(12345);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    size_t length = random() % 200;
    for (size_t i = 0; i < length; ++i) {
      static const char kBytes[] = ",.-+eE0123456789 \t\r\n#*\xFF\x80" "aZ";
      text += (random() % 4 == 0) ? static_cast<char>(random() % 256)
                                  : kBytes[random() % (sizeof kBytes - 1)];
    }
    TextFile lines = TextFile::FromText(text);
    for (const TFormatDefinition* d : {&all, &fixed}) {
      TUploadReader reader(*d, round % 2 ? ',' : '.');
      UploadPoint point;
      for (size_t i = 0; i < lines.size(); ++i) {
        reader.ConvertLineToRecord(lines.lines(), i, point);
        ASSERT_LE(i, lines.size());
      }
    }
  }
}

// Points over two lines are converted on one thread and handed on as they
// are made: in blocks of whole records, in the order of the file, also
// where a point runs over the end of a block.
TEST(PointRecordsTest, PointsOverSeveralLinesAreHandedOnInWholeRecords) {
  TFormatDefinition definition =
      Definition(true, {{"NAME"}, {"NEWLINE"}, {"NORTHING", true, 0, 1}});
  constexpr int kPoints = 70001;
  std::string text;
  for (int i = 0; i < kPoints; ++i) text += "P" + std::to_string(i) + "\r\n" + std::to_string(i) + "\r\n";
  text += "P-last\r\n";  // its NEWLINE runs past the last line
  TextFile file = TextFile::FromText(text);
  SendCounts counts;
  std::vector<std::string> blocks;
  ConvertPointRecordsOfFile(definition, file.lines(), '.', counts,
                            [&blocks](std::string_view records) { blocks.emplace_back(records); });
  EXPECT_EQ(counts.points_written, static_cast<size_t>(kPoints));
  EXPECT_EQ(counts.lines_skipped, 1u);
  EXPECT_GT(blocks.size(), 1u);
  int next = 0;
  for (const std::string& block : blocks) {
    ASSERT_EQ(block.size() % 88, 0u);
    for (size_t at = 0; at < block.size(); at += 88, ++next) {
      std::string name = "P" + std::to_string(next);
      ASSERT_EQ(block.substr(at + 4, 16), std::string(16 - name.size(), ' ') + name) << next;
      std::string northing = std::to_string(next) + ".0";
      ASSERT_EQ(block.substr(at + 20, northing.size()), northing) << next;
      ASSERT_EQ(block.substr(at + 86, 2), "\r\n") << next;
    }
  }
  EXPECT_EQ(next, kPoints);
}

}  // namespace
}  // namespace pelixo
