// The ASCII export of a received DC file: the DC reader's points, the value
// writers, and whole files through download definitions compared with
// expected files.
#include "pelixo/core/ascii_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text_file.h"
#include "platform/files.h"

namespace pelixo {
namespace {

const char kData[] = PELIXO_TEST_DATA "/receive/";

TField Field(const std::string& token, bool numeric, int width, int decimals,
             bool right_aligned = true, const std::string& literal = "") {
  TField field;
  field.Token = token;
  field.Numeric = numeric;
  field.Width = width;
  field.Decimals = decimals;
  field.RightAligned = right_aligned;
  field.Literal = literal;
  return field;
}

TFormatDefinition Definition(bool comma, std::vector<TField> fields, char pad = ' ') {
  TFormatDefinition definition("Test");
  definition.CommaSeparated = comma;
  definition.PadCharacter = pad;
  for (TField& field : fields) definition.Fields.Add(std::make_unique<TField>(field));
  return definition;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// --- value writers ---

TEST(ExportNumberTest, CommaSeparatedAlwaysUsesAPeriod) {
  TField three = Field("NORTHING", true, 0, 3);
  EXPECT_EQ(FormatExportNumber(three, true, 1000, ' ', ','), "1000.000");
  EXPECT_EQ(FormatExportNumber(Field("X", true, 0, -3), true, 1234.5, ' ', '.'), "1234500");
  EXPECT_EQ(FormatExportNumber(three, true, 1e308, '0', '.'), "");
  EXPECT_EQ(FormatExportNumber(three, true, -999999, '0', '.'), "");
}

TEST(ExportNumberTest, FixedColumnsKeepTheSystemSeparatorAndPad) {
  TField right = Field("N", true, 10, 2);
  EXPECT_EQ(FormatExportNumber(right, false, 12.5, '0', '.'), "0000012.50");
  EXPECT_EQ(FormatExportNumber(right, false, 12.5, ' ', ','), "     12,50");
  EXPECT_EQ(FormatExportNumber(right, false, 1e308, '*', '.'), "**********");
  EXPECT_EQ(FormatExportNumber(Field("N", true, 3, 2), false, 1234.5, ' ', '.'), "1234.50");
  // Implied decimals: the removed separator comes back as a blank.
  EXPECT_EQ(FormatExportNumber(Field("N", true, 8, -2), false, 12.5, ' ', '.'), "    1250");
  EXPECT_EQ(FormatExportNumber(Field("N", true, 8, -2, false), false, 12.5, '*', '.'),
            "1250****");
}

TEST(ExportNumberTest, ZeroPaddingPutsTheMinusSignFirst) {
  EXPECT_EQ(FormatExportNumber(Field("N", true, 8, 2), false, -12.5, '0', '.'), "-0012.50");
  EXPECT_EQ(FormatExportNumber(Field("N", true, 8, -2), false, -12.5, '0', '.'), "-0001250");
  EXPECT_EQ(FormatExportNumber(Field("N", true, 6, 2), false, -12.5, '0', '.'), "-12.50");
  // Other pad characters and left alignment stay as they are.
  EXPECT_EQ(FormatExportNumber(Field("N", true, 8, 2), false, -12.5, '*', '.'), "**-12.50");
  EXPECT_EQ(FormatExportNumber(Field("N", true, 8, 2, false), false, -12.5, '0', '.'),
            "-12.5000");
}

TEST(ExportNumberTest, OutlandishWidthsAndDecimalsAreLimited) {
  std::string wide = FormatExportNumber(Field("N", true, 100000, 2), false, 1, ' ', '.');
  EXPECT_EQ(wide.size(), 255u);
  std::string many = FormatExportNumber(Field("N", true, 0, -2147483647 - 1), true, 1, ' ', '.');
  EXPECT_EQ(many.size(), 256u);  // "1" and 255 implied decimals
  EXPECT_EQ(FormatExportNumber(Field("N", true, -5, 1), false, 2, ' ', '.'), "2.0");
}

TEST(ExportTextTest, PadsFixedColumnsOnly) {
  EXPECT_EQ(FormatExportText(Field("NAME", false, 5, 0), true, "ABCDEFG", '*'), "ABCDEFG");
  EXPECT_EQ(FormatExportText(Field("NAME", false, 5, 0), false, "ABCDEFG", '*'), "ABCDE");
  EXPECT_EQ(FormatExportText(Field("NAME", false, 5, 0, false), false, "AB", '*'), "AB***");
  EXPECT_EQ(FormatExportText(Field("NAME", false, 5, 0), false, "AB", '0'), "000AB");
  EXPECT_EQ(FormatExportText(Field("NAME", false, 0, 0), false, "AB", '0'), "AB");
}

TEST(ExportAttributeValueTest, WholeNumbersLoseTheirDecimals) {
  EXPECT_EQ(FormatAttributeValue("2.0", 2, '.'), "2");
  EXPECT_EQ(FormatAttributeValue("2.000001", 2, '.'), "2");
  EXPECT_EQ(FormatAttributeValue("2.5", 2, ','), "2,50");
  EXPECT_EQ(FormatAttributeValue("2.5", -2, ','), "250");
  EXPECT_EQ(FormatAttributeValue("OAK", 2, '.'), "OAK");
}

TEST(ExportTokenTest, KnownTokensOnly) {
  EXPECT_TRUE(IsExportToken("name"));
  EXPECT_TRUE(IsExportToken("AllAttributes"));
  EXPECT_FALSE(IsExportToken("NAME1"));
  EXPECT_FALSE(IsExportToken("SKIP"));
}

// --- point lines ---

TEST(PointLineTest, TextFieldsJoinTheNextValue) {
  DCPointValues point;
  point.name = "P1";
  point.code = "OAK";
  TFormatDefinition definition = Definition(
      true, {Field("NAME", false, 0, 0), Field("TEXT", false, 0, 0, true, ";"),
             Field("CODE", false, 0, 0)});
  EXPECT_EQ(FormatPointLine(definition, point, {}, ExportContext()), "P1,;OAK");
}

TEST(PointLineTest, AttributesByNameLiteralOrBlanks) {
  DCPointValues point;
  std::vector<std::string> attributes = {"Type                OAK", "Type                ELM",
                                         "Depth               1.26"};
  TFormatDefinition comma = Definition(
      true, {Field("type", false, 0, 0), Field("Depth", true, 0, 1), Field("Kind", false, 0, 0),
             Field("Kind", false, 0, 0, true, "none"), Field("NEWLINE", false, 0, 0),
             Field("Missing", true, 0, 2, true, "x")});
  EXPECT_EQ(FormatPointLine(comma, point, attributes, ExportContext()),
            "OAKELM,1.3, ,none,\r\n,0.00");
  TFormatDefinition fixed =
      Definition(false, {Field("Kind", false, 4, 0), Field("ALLATTRIBUTES", false, 0, 0),
                         Field("NBRSATELLITES", true, 3, 0)},
                 '-');
  EXPECT_EQ(FormatPointLine(fixed, point, attributes, ExportContext()), "    ---");
}

TEST(PointLineTest, TheCounterRunsOnAcrossCalls) {
  int32_t counter = 0;
  ExportContext context;
  context.counter = &counter;
  TFormatDefinition definition = Definition(true, {Field("COUNTER", true, 0, 0)});
  DCPointValues point;
  EXPECT_EQ(FormatPointLine(definition, point, {}, context), "1");
  EXPECT_EQ(FormatPointLine(definition, point, {}, context), "2");
  counter = 2147483647;
  EXPECT_EQ(FormatPointLine(definition, point, {}, context), "-2147483648");
}

TEST(PointLineTest, ADefinitionWithoutFieldsWritesEmptyLines) {
  TFormatDefinition definition = Definition(true, {});
  TextFile dc = TextFile::FromText(
      "00NM" + std::string(40, ' ') + "1\n69KI" + std::string(14, ' ') + "P1\n");
  platform::Expected<ExportLines> lines = BuildExportLines(definition, dc.lines(), nullptr, {});
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->lines.ToVector(), std::vector<std::string>({""}));
}

// --- the DC reader ---

TEST(DCReaderTest, OrderOfCoordinatesFollowsColumn44) {
  std::string point = "69KI" + std::string(14, ' ') + "P1" + "1000.000        " +
                      "2000.000        " + "50              ";
  std::string head = "00NM" + std::string(40, ' ');
  TextFile kept = TextFile::FromText(head + "1\n" + point + "\n");
  TextFile exchanged = TextFile::FromText(head + "2\n" + point + "\n");
  TextFile short_head = TextFile::FromText("00NM\n" + point + "\n");
  DCPointValues values;
  ASSERT_TRUE(ReadPointAt(kept.lines(), 1, CoordinatesExchanged(kept.lines()), nullptr, &values));
  EXPECT_EQ(values.northing, 1000);
  EXPECT_EQ(values.easting, 2000);
  EXPECT_EQ(values.satellites, kNullInteger);
  ASSERT_TRUE(ReadPointAt(exchanged.lines(), 1, CoordinatesExchanged(exchanged.lines()),
                          nullptr, &values));
  EXPECT_EQ(values.northing, 2000);
  EXPECT_TRUE(CoordinatesExchanged(short_head.lines()));
}

TEST(DCReaderTest, AttributesNeedAnAttributeMarker) {
  TextFile dc = TextFile::FromText(
      "69KI              P1\n88KIType                OAK\n"
      "69KI              P2\n87KI\n96KIKind                x\n66KI              P3\n");
  EXPECT_FALSE(HasAttributeMarker(dc.lines(), 0));
  EXPECT_TRUE(HasAttributeMarker(dc.lines(), 2));
  EXPECT_EQ(CollectAttributes(dc.lines(), 2), std::vector<std::string>({"Kind                x"}));
}

TEST(DCReaderTest, AnEmptyFileIsAListError) {
  TextFile dc = TextFile::FromText("");
  platform::Expected<ExportLines> lines =
      BuildExportLines(Definition(true, {}), dc.lines(), nullptr, {});
  ASSERT_FALSE(lines);
  EXPECT_EQ(lines.error().message(), "List index out of bounds (0)");
}

TEST(DCReaderTest, AnyBytesAtAllAreRead) {
  TFormatDefinition definition = Definition(
      false, {Field("NAME", false, 4, 0), Field("NORTHING", true, 6, 2),
              Field("ALLATTRIBUTES", false, 0, 2), Field("PDOP", true, 4, 1)});
  TTICPointhandler points;
  points.LoadFromText("NEZ,,,1,2,3,\n");
  uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    int length = static_cast<int>(seed % 700);
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      static const char kPieces[] = "66696B6C6138788929613\r\n ,.-e0123456789";
      char c = (seed >> 16) % 3 == 0 ? static_cast<char>(seed >> 8)
                                     : kPieces[(seed >> 8) % (sizeof kPieces - 1)];
      bytes.push_back(c);
    }
    TextFile dc = TextFile::FromText(bytes);
    int32_t counter = 0;
    ExportContext context;
    context.counter = &counter;
    (void)BuildExportLines(definition, dc.lines(), &points, context);
  }
  SUCCEED();
}

// --- whole files ---

struct GoldenCase {
  const char* definition;
  const char* dc_file;
  const char* expected;
};

class GoldenExportTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenExportTest, MatchesTheExpectedFile) {
  const GoldenCase& c = GetParam();
  TFormatDefinitions definitions;
  ASSERT_TRUE(definitions.Load(std::string(kData) + "Formats.ini"));
  const TFormatDefinition* definition = nullptr;
  for (int i = 0; i < definitions.Count(); ++i) {
    if (definitions[i].Name == c.definition) definition = &definitions[i];
  }
  ASSERT_NE(definition, nullptr);
  platform::Expected<TextFile> dc = TextFile::Read(std::string(kData) + c.dc_file);
  ASSERT_TRUE(dc);
  TTICPointhandler points;
  ASSERT_TRUE(points.LoadFromFile(std::string(kData) + "job1.tic"));
  int32_t counter = 0;
  ExportContext context;
  context.counter = &counter;
  platform::Expected<ExportLines> lines =
      BuildExportLines(*definition, dc->lines(), &points, context);
  ASSERT_TRUE(lines);
  platform::Expected<std::string> expected = platform::ReadWholeFile(std::string(kData) + c.expected);
  ASSERT_TRUE(expected);
  EXPECT_EQ(Join(lines->lines.ToVector()), *expected);
  EXPECT_EQ(lines->measured_without_coordinates, 1);  // M2
}

INSTANTIATE_TEST_SUITE_P(Receive, GoldenExportTest,
                         ::testing::Values(GoldenCase{"Comma out", "job1.dc", "job1_comma.csv"},
                                           GoldenCase{"Fixed out", "job1.dc", "job1_fixed.txt"},
                                           GoldenCase{"Zero padded", "job1.dc",
                                                      "job1_zero.txt"}));

}  // namespace
}  // namespace pelixo
