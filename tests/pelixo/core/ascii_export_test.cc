// The ASCII export of a received DC file: the DC reader's points, the value
// writers, and whole files through download definitions compared with
// expected files.
#include "pelixo/core/ascii_export.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "pelixo/core/format_definitions.h"
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

// The value writers and the point line, each into a string of its own.
std::string FormatExportNumber(const TField& field, bool comma_separated, double x,
                               char pad_character, char decimal_separator) {
  std::string text;
  AppendExportNumber(text, field, comma_separated, x, {}, pad_character, decimal_separator);
  return text;
}

std::string FormatExportText(const TField& field, bool comma_separated, std::string_view text,
                             char pad_character) {
  std::string result;
  AppendExportText(result, field, comma_separated, text, pad_character);
  return result;
}

std::string FormatAttributeValue(std::string_view text, int32_t decimals,
                                 char decimal_separator) {
  std::string result;
  AppendAttributeValue(result, text, decimals, decimal_separator);
  return result;
}

std::string FormatPointLine(const TFormatDefinition& definition, const DCPointValues& point,
                            const std::vector<std::string_view>& attributes,
                            const ExportContext& context) {
  std::string line;
  AppendPointLine(line, definition, FieldKinds(definition), point, attributes, context);
  return line;
}

bool IsExportToken(std::string_view token) {
  return ClassifyExportToken(token) != ExportToken::kAttribute;
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
  std::vector<std::string_view> attributes = {"Type                OAK", "Type                ELM",
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
  const std::string dc = "00NM" + std::string(40, ' ') + "1\n69KI" + std::string(14, ' ') + "P1\n";
  platform::Expected<ExportLines> lines = BuildExportLines(definition, dc, nullptr, {});
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->lines.text(), "\r\n");
}

// --- the DC reader ---

// The points of a whole DC text, each with its attribute texts.
std::vector<DCPointValues> ReadPoints(std::string_view text, const TTICPointhandler* points,
                                      std::vector<std::vector<std::string>>* attributes,
                                      int* measured_without_coordinates = nullptr) {
  DCPointReader reader(text, points);
  std::vector<DCPointValues> values;
  DCPointValues point;
  std::vector<std::string_view> texts;
  while (reader.Next(&point, &texts)) {
    values.push_back(point);
    attributes->emplace_back(texts.begin(), texts.end());
  }
  if (measured_without_coordinates != nullptr) {
    *measured_without_coordinates = reader.measured_without_coordinates();
  }
  return values;
}

TEST(DCReaderTest, OrderOfCoordinatesFollowsColumn44) {
  std::string point = "69KI" + std::string(14, ' ') + "P1" + "1000.000        " +
                      "2000.000        " + "50              ";
  std::string head = "00NM" + std::string(40, ' ');
  const std::string kept = head + "1\n" + point + "\n";
  const std::string exchanged = head + "2\n" + point + "\n";
  const std::string short_head = "00NM\n" + point + "\n";
  std::vector<std::vector<std::string>> attributes;
  std::vector<DCPointValues> values = ReadPoints(kept, nullptr, &attributes);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].northing, 1000);
  EXPECT_EQ(values[0].easting, 2000);
  EXPECT_EQ(values[0].northing_text, "1000.000");
  EXPECT_EQ(values[0].elevation_text, "50");
  EXPECT_EQ(values[0].satellites, kNullInteger);
  values = ReadPoints(exchanged, nullptr, &attributes);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].northing, 2000);
  EXPECT_EQ(values[0].northing_text, "2000.000");
  values = ReadPoints(short_head, nullptr, &attributes);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].northing, 2000);
}

TEST(DCReaderTest, AttributesNeedAnAttributeMarker) {
  const std::string dc =
      "69KI              P1\n88KIType                OAK\n"
      "69KI              P2\n92KIDepth               1.5\n87KI\n96KIKind                x\n"
      "66KI              P3\n";
  std::vector<std::vector<std::string>> attributes;
  int missing = 0;
  std::vector<DCPointValues> values = ReadPoints(dc, nullptr, &attributes, &missing);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_TRUE(attributes[0].empty());
  EXPECT_EQ(attributes[1], std::vector<std::string>({"Depth               1.5",
                                                     "Kind                x"}));
  EXPECT_EQ(missing, 1);  // P3, without a points file
}

TEST(DCReaderTest, FollowingRecordsGiveCodeSatellitesAndPdop) {
  TTICPointhandler points;
  points.LoadFromText("NEZ,\"M1\",\"FROMTIC\",1.5,2.5,3.5,\n");
  const std::string dc =
      "69KI              P1                                                  K1\n"
      "13KInote\nB6KI  OAK  \nC6KI 7 1.25\n"
      "66KI              M1\nC6KI12 2.5\nB6KIELM\n"
      "66KI              M9\n";
  std::vector<std::vector<std::string>> attributes;
  int missing = 0;
  std::vector<DCPointValues> values = ReadPoints(dc, &points, &attributes, &missing);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, "P1");
  EXPECT_EQ(values[0].code, "OAK");
  EXPECT_EQ(values[0].satellites, kNullInteger);  // not after a keyed-in point
  EXPECT_EQ(values[1].name, "M1");
  EXPECT_EQ(values[1].code, "FROMTIC");
  EXPECT_EQ(values[1].satellites, 12);
  EXPECT_EQ(values[1].pdop, 2.5);
  EXPECT_EQ(values[1].northing, 1.5);
  EXPECT_TRUE(values[1].northing_text.empty());
  EXPECT_EQ(missing, 1);
}

TEST(DCReaderTest, AnEmptyFileIsAListError) {
  platform::Expected<ExportLines> lines =
      BuildExportLines(Definition(true, {}), "", nullptr, {});
  ASSERT_FALSE(lines);
  EXPECT_EQ(lines.error().message(), "List index out of bounds (0)");
  lines = BuildExportLines(Definition(true, {}), std::string_view("\0x\n", 3), nullptr, {});
  ASSERT_FALSE(lines);
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
    int32_t counter = 0;
    ExportContext context;
    context.counter = &counter;
    (void)BuildExportLines(definition, bytes, &points, context);
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
  platform::Expected<std::string> dc = platform::ReadWholeFile(std::string(kData) + c.dc_file);
  ASSERT_TRUE(dc);
  TTICPointhandler points;
  ASSERT_TRUE(points.LoadFromFile(std::string(kData) + "job1.tic"));
  int32_t counter = 0;
  ExportContext context;
  context.counter = &counter;
  platform::Expected<ExportLines> lines =
      BuildExportLines(*definition, *dc, &points, context);
  ASSERT_TRUE(lines);
  platform::Expected<std::string> expected = platform::ReadWholeFile(std::string(kData) + c.expected);
  ASSERT_TRUE(expected);
  EXPECT_EQ(lines->lines.text(), *expected);
  EXPECT_EQ(lines->measured_without_coordinates, 1);  // M2
}

INSTANTIATE_TEST_SUITE_P(Receive, GoldenExportTest,
                         ::testing::Values(GoldenCase{"Comma out", "job1.dc", "job1_comma.csv"},
                                           GoldenCase{"Fixed out", "job1.dc", "job1_fixed.txt"},
                                           GoldenCase{"Zero padded", "job1.dc",
                                                      "job1_zero.txt"}));

}  // namespace
}  // namespace pelixo
