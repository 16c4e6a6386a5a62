// The records of a sent job and the padding operations, on the examples of
// the record descriptions.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "pelixo/core/dc_writer.h"
#include "pelixo/core/pelixo_records.h"
#include "pelixo/core/text.h"

namespace pelixo {
namespace {

TEST(PaddingTest, CutsPadsAndFills) {
  EXPECT_EQ(PadLeftAligned("AB ", 5, '*'), "AB***");
  EXPECT_EQ(PadRightAligned("AB", 5, '0'), "000AB");
  EXPECT_EQ(PadLeftAligned("AB", 5, ' '), "AB   ");
  EXPECT_EQ(PadRightAligned("AB", 5, ' '), "   AB");
  EXPECT_EQ(PadLeftAligned("ABCDEF", 3, '*'), "ABC");
  EXPECT_EQ(PadRightAligned("ABCDEF", 3, '*'), "ABC");
  EXPECT_EQ(PadLeftAligned("ABC", 0, '*'), "");
  // Blanks inside the text stay; only the run at the padded end is filled.
  EXPECT_EQ(PadLeftAligned("A B ", 6, '-'), "A B---");
  EXPECT_EQ(PadRightAligned(" A B", 6, '-'), "---A B");
  // Widths are 8-bit counts: above 255 is limited, below 0 is nothing.
  EXPECT_EQ(PadLeftAligned("x", 300, ' ').size(), 255u);
  EXPECT_EQ(PadRightAligned(std::string(400, 'y'), 256, ' '), std::string(255, 'y'));
  EXPECT_EQ(PadLeftAligned("x", -5, ' '), "");
}

TEST(HeaderRecordTest, VersionTextsAndUnitDigits) {
  for (auto [version, text] : std::initializer_list<std::pair<int, const char*>>{
           {1000, "TP V10   "}, {1069, "TP V10   "}, {1070, "TP V10-70"}, {2000, "TP V10-70"},
           {770, "TP V07-70"}, {999, "TP V07-70"}, {769, "TP V07-50"}, {750, "TP V07-50"},
           {0, "TP V07-50"}}) {
    EXPECT_EQ(PelixoVersionText(version), text) << version;
  }

  // Gons and metres: 2, 1, then 3111.
  std::string header = PelixoHeaderRecord(1070, "07-Dec-26 03:48 ", 1, 0);
  EXPECT_EQ(header, "00NMTP V10-70       000007-Dec-26 03:48 213111");
  EXPECT_EQ(header.size(), 46u);
  EXPECT_EQ(PelixoHeaderRecord(750, "01-Jan-07 00:00 ", 2, 2),
            "00NMTP V07-50       000001-Jan-07 00:00 333111");
  // No selection in a list gives 0.
  EXPECT_EQ(PelixoHeaderRecord(1000, "01-Jan-07 00:00 ", -1, -1),
            "00NMTP V10          000001-Jan-07 00:00 003111");
}

TEST(HeaderRecordTest, DateTextWithTheLocaleMonth) {
  EXPECT_EQ(FormatDCDate("07-December-26 03:48 "), "07-Dec-26 03:48 ");
  EXPECT_EQ(FormatDCDate("07-Dec-26 03:48 "), "07-Dec-26 03:48 ");
  EXPECT_EQ(FormatDCDate("07-Ma-26 03:48 "), "07-Ma-26 03:48 ");
  EXPECT_EQ(FormatDCDate("07-Dec-2026 03:48:59 "), "07-Dec-2026 03:4");
  EXPECT_EQ(FormatDCDate("no dashes here at all"), "no dashes here a");

  std::string month = platform::LocaleShortMonthName(12).substr(0, 3);
  EXPECT_EQ(DCDateText({2026, 12, 7, 3, 48, 0}), "07-" + month + "-26 03:48 ");
  EXPECT_EQ(DCDateText({2007, 1, 31, 23, 5, 0}),
            "31-" + platform::LocaleShortMonthName(1).substr(0, 3) + "-07 23:05 ");
}

TEST(JobRecordTest, NameCutAndPadded) {
  EXPECT_EQ(PelixoJobRecord("ABCDEFGHIJKLMNOPQRST"), "10NMABCDEFGHIJKLMNOP121221");
  EXPECT_EQ(PelixoJobRecord("Job"), "10NMJob             121221");
  EXPECT_EQ(PelixoJobRecord("").size(), 26u);
}

std::string PelixoPointRecord(const PelixoPointTexts& point) {
  std::string record;
  AppendPelixoPointRecord(record, point);
  return record;
}

TEST(PointRecordTest, ColumnsOfTheKeyedInPoint) {
  EXPECT_EQ(PelixoPointRecord({"P1", "1000.500", "2000.000", "50.250", "TREE"}),
            "69KI              P1"
            "1000.500        "
            "2000.000        "
            "50.250          "
            "TREE            "
            "11");
  std::string record =
      PelixoPointRecord({"ABCDEFGHIJKLMNOPQ", "12345678901234567", "", "", ""});
  EXPECT_EQ(record.substr(4, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(record.substr(20, 16), "1234567890123456");
  EXPECT_EQ(record.substr(36, 48), std::string(48, ' '));
  EXPECT_EQ(record.size(), 86u);
}

TEST(CoordinateSystemTest, RecordsCopiedByVersion) {
  const std::vector<std::string> lines = {"00NM", "10NM", "49KI", "78KI", "D4KI"};
  auto copied = [&](int v) {
    std::string types;
    for (const std::string& line : lines) {
      if (IsPelixoCoordinateSystemRecord(line, v)) types += line.substr(0, 2) + " ";
    }
    return types;
  };
  EXPECT_EQ(copied(770), "49 D4 ");
  EXPECT_EQ(copied(750), "49 D4 ");
  EXPECT_EQ(copied(1000), "49 78 ");
  EXPECT_EQ(copied(1070), "49 78 ");
  EXPECT_EQ(copied(771), "49 78 D4 ");
  for (const char* always : {"49", "50", "64", "65", "74", "81", "C8", "D0", "D5", "D8"}) {
    EXPECT_TRUE(IsPelixoCoordinateSystemRecord(always, 750)) << always;
    EXPECT_TRUE(IsPelixoCoordinateSystemRecord(always, 1070)) << always;
  }
  EXPECT_FALSE(IsPelixoCoordinateSystemRecord("c8", 1070));
  EXPECT_FALSE(IsPelixoCoordinateSystemRecord(" 49", 1070));
  EXPECT_FALSE(IsPelixoCoordinateSystemRecord("4", 1070));
  EXPECT_FALSE(IsPelixoCoordinateSystemRecord("", 1070));
}

TEST(CoordinateSystemTest, FileAsNamedThenInTheProgramFolder) {
  const std::string kData = PELIXO_TEST_DATA "/send/";
  DCJobSettings settings;
  LineList job;
  EXPECT_EQ(*CopyCoordinateSystemRecords(job, 1070, settings, kData),
            CoordinateSystemCopy::kNotNamed);
  settings.coordinate_system_file = "coordsys.dc";  // found only beside "the program"
  ASSERT_EQ(*CopyCoordinateSystemRecords(job, 1070, settings, kData),
            CoordinateSystemCopy::kCopied);
  std::vector<std::string_view> lines = SplitLines(job.text());
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "49KISystem 34 Sjaelland");
  EXPECT_EQ(lines[5], "78KI31");
  EXPECT_EQ(lines[10].substr(0, 2), "50");
  job.clear();
  settings.coordinate_system_file = kData + "coordsys.dc";
  ASSERT_EQ(*CopyCoordinateSystemRecords(job, 750, settings, "/nowhere/"),
            CoordinateSystemCopy::kCopied);
  lines = SplitLines(job.text());
  EXPECT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[5], "D4KI31            0.000");
  job.clear();
  settings.coordinate_system_file = "no such file.dc";
  EXPECT_EQ(*CopyCoordinateSystemRecords(job, 750, settings, kData),
            CoordinateSystemCopy::kNotFound);
  EXPECT_TRUE(job.text().empty());
}

}  // namespace
}  // namespace pelixo
