#include "danvora/dctrans.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "danvora/library_state.h"
#include "platform/files.h"
#include "tests/danvora/test_util.h"
#include "tests/support/scoped_env.h"

namespace danvora {
namespace {

using testing::kGrs80;
using testing::kUtm32;
using testing::Num;
using testing::ReadFile;
using testing::Rec;
using testing::Txt;

const std::string kHeader = Rec("00NM", {{4, "TP V10-70"}, {40, "213110"}});

std::string Keyed(const std::string& name, const std::string& code = "K") {
  return Rec("69KI", {{4, Num(name)}, {20, Num("6100000.5")},
                      {36, Num("500000.25")}, {52, Num("1")}, {68, Txt(code)},
                      {84, "11"}});
}

class DctransTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshLibrary();
    dir_ = testing::FolderOfTest("dctrans_");
  }

  // Writes the job and translates it; the messages shown are kept.
  int Run(const std::vector<std::string>& lines, int format,
          const std::string& report = " ", const std::string& out_name =
                                                 "out.kof",
          const char* separators = "b") {
    testing::WriteFile(dir_ + "job.dc", testing::JobBytes(lines));
    ::testing::internal::CaptureStderr();
    const int result =
        Dctrans((dir_ + "job.dc").c_str(), (dir_ + out_name).c_str(),
                report.c_str(), ToExportFormat(format), separators, "");
    messages_ = ::testing::internal::GetCapturedStderr();
    return result;
  }

  std::string dir_;
  std::string messages_;
};

TEST_F(DctransTest, UnknownFormatTouchesNoFile) {
  testing::WriteFile(dir_ + "out.kof", "keep");
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Keyed("P1")}, 11), 255);
  EXPECT_EQ(messages_, "Format  kan ikke benyttes i resultatfil\n");
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
  EXPECT_EQ(Run({kHeader}, -2), 255);
}

TEST_F(DctransTest, RefusalsWriteNothing) {
  testing::WriteFile(dir_ + "out.kof", "keep");
  EXPECT_EQ(Run({kHeader, Keyed("P1")}, 0, dir_ + "report.txt"), 255);
  EXPECT_EQ(messages_, "DC filen indeholder ikke et brugbart koordinatsystem!\n");
  EXPECT_EQ(Run({kHeader, Rec("78NM", {{4, "01"}}), Rec("D0NM", {{4, "n"}}),
                 Rec("66NM", {{4, Txt("G1")}})},
                0, dir_ + "report.txt"),
            255);
  EXPECT_EQ(messages_,
            "Der er m\xE5lt GPS p\xE5 et ikke-jordisk koordinatsystem.\n"
            "V\xE6lg et jordisk koordinatsystem ved udl\xE6sningen\n");
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
  EXPECT_FALSE(testing::Exists(dir_ + "report.txt"));
  EXPECT_TRUE(library_state().line_table.lines.empty());
}

// A DC file that is missing or is a folder: the user is told which, and
// neither the point file nor the report is touched.
TEST_F(DctransTest, DcFileThatCannotBeOpenedIsNamed) {
  testing::WriteFile(dir_ + "out.kof", "keep");
  testing::WriteFile(dir_ + "report.txt", "old report");
  ASSERT_TRUE(platform::MakeDirectories(dir_ + "folder.dc"));
  for (const std::string& dc : {dir_ + "none.dc", dir_ + "folder.dc"}) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Dctrans(dc.c_str(), (dir_ + "out.kof").c_str(),
                      (dir_ + "report.txt").c_str(), ExportFormat::kKx77, "b",
                      ""),
              255);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Kunne ikke \xE5" "bne " + dc + "\n");
    EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
    EXPECT_EQ(ReadFile(dir_ + "report.txt"), "old report");
  }
  EXPECT_EQ(platform::FindFiles(dir_, "*").size(), 3u);
}

TEST_F(DctransTest, FieldFitRefusesKeyedPointsInTheNextJob) {
  const std::string fit = Rec("50NM", {{68, Num("0.5")}, {84, Num("1.0001")}});
  // (A vertical record without a translation after the fit would undo it.)
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Rec("81NM", {{4, "2"}, {85, "DVR90"}}),
                 fit, Rec("66NM", {{4, Txt("G")}})},
                0),
            0);
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Keyed("P1")}, 0), 255);
  EXPECT_EQ(messages_,
            "Forvalgt KoordinatSystemsTilpasning kan ikke anvendes, da der er "
            "anvendt koordinatsystem i marken!\n");
  testing::FreshLibrary();  // a new process
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Keyed("P1")}, 0), 0);
}

TEST_F(DctransTest, CalibrationPointsReturnMinusOne) {
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80,
                 Rec("B1NM", {{4, Txt("C1")}, {20, Txt("C2")},
                              {37, Num("0.012")}})},
                7, dir_ + "report.txt"),
            -1);
  EXPECT_NE(ReadFile(dir_ + "report.txt")
                .find("Koordinatsystem: Utm zone 32 (Euref89) Koordinat "
                      "Systems Tilpasning udf\xF8rt i marken"),
            std::string::npos);
  EXPECT_NE(ReadFile(dir_ + "report.txt")
                .find("\r\nKalibreringspunkt: C1 - C2\r\nPlanafv:   0.012"),
            std::string::npos);
}

TEST_F(DctransTest, GeoidWarningBoxes) {
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Rec("67NM", {{4, Txt("G1")}})}, 2,
                dir_ + "report.txt"),
            0);
  const std::string message =
      "* Der er valgt ingen Geoidefil avendt ved GPS m\xE5ling. Koterne er "
      "sandsynligvis ubrugelige *";
  EXPECT_EQ(messages_, message + "\n");
  const std::string stars = "C " + std::string(101, '*') + "\r\n";
  const std::string blank = "C *" + std::string(99, ' ') + "*\r\n";
  EXPECT_EQ(ReadFile(dir_ + "out.kof").substr(0, 2 * stars.size() + 2 * blank.size() + message.size() + 4),
            stars + blank + "C " + message + "\r\n" + blank + stars);
  const std::string report_stars = std::string(99, '*') + "\r\n";
  const std::string report_blank = "*" + std::string(97, ' ') + "*\r\n";
  EXPECT_EQ(ReadFile(dir_ + "report.txt").substr(0, 2 * report_stars.size() + 2 * report_blank.size() + message.size() + 2),
            report_stars + report_blank + message + "\r\n" + report_blank +
                report_stars);
}

TEST_F(DctransTest, ReportAloneStillReadsKnownPoints) {
  testing::WriteFile(dir_ + "out.kof", "P1,7.5,-8.25,9\r\n");
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Keyed("P1")}, -1,
                dir_ + "report.txt"),
            0);
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "P1,7.5,-8.25,9\r\n");
  EXPECT_NE(ReadFile(dir_ + "report.txt")
                .find("        P1           7.500           8.250      9.000"),
            std::string::npos);
}

TEST_F(DctransTest, KnownPointsReplaceCoordinatesInFileOrder) {
  // "A1" stands before "A2" in the file; the job names A2 first.
  testing::WriteFile(dir_ + "out.csv",
                     "A1,1,-10,100\nA2,2,-20,200\nA3,3,-30,300\n");
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Keyed("A2"), Keyed("A1"),
                 Keyed("A3"), Keyed("A9")},
                7, " ", "out.csv"),
            0);
  EXPECT_EQ(ReadFile(dir_ + "out.csv"),
            "A2,2.000,20.000,200.000,K\r\n"
            "A1,1.000,10.000,100.000,K\r\n"
            "A3,3.000,30.000,300.000,K\r\n"
            // Not a known point: its own co-ordinates.
            "A9,6100000.500,500000.250,1.000,K\r\n");
}

TEST_F(DctransTest, SeparatorsOfBlankAndComma) {
  EXPECT_EQ(Run({kHeader, kUtm32, kGrs80, Keyed("P1", "K1,K2 K3")}, 7, " ",
                "out.csv", "b,"),
            0);
  EXPECT_EQ(ReadFile(dir_ + "out.csv"),
            "P1,6100000.500,500000.250,1.000,K1\r\n"
            "P1,6100000.500,500000.250,1.000,K2\r\n"
            "P1,6100000.500,500000.250,1.000,K3\r\n");
}

TEST_F(DctransTest, FilesThatCannotBeWrittenChangeNothing) {
  testing::WriteFile(dir_ + "out.kof", "keep");
  const std::vector<std::string> job = {kHeader, kUtm32, kGrs80, Keyed("P1")};
  EXPECT_EQ(Run(job, 0, dir_ + "missing/report.txt"), 255);
  EXPECT_EQ(messages_, "Kunne ikke \xE5" "bne " + dir_ + "missing/report.txt\n");
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
  {
    tests_support::ScopedEnv fail("PELIXO_FAIL_WRITES", "out.kof");
    EXPECT_EQ(Run(job, 0, dir_ + "report.txt"), 255);
  }
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
  EXPECT_NE(messages_.find("out.kof"), std::string::npos) << messages_;
  // A report that fails after the point file was written whole: neither
  // replaces its target.
  testing::WriteFile(dir_ + "report.txt", "old report");
  {
    tests_support::ScopedEnv fail("PELIXO_FAIL_WRITES", "report.txt");
    EXPECT_EQ(Run(job, 0, dir_ + "report.txt"), 255);
  }
  EXPECT_EQ(messages_, "Kunne ikke skrive " + dir_ + "report.txt\n");
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
  EXPECT_EQ(ReadFile(dir_ + "report.txt"), "old report");
}

// A target that no file can replace is found before anything is replaced:
// a report path that is a folder refuses the translation with the point
// file untouched; an ".info" path that is a folder sends the info lines
// into the point file.
TEST_F(DctransTest, TargetsThatCannotBeReplacedAreFoundFirst) {
  testing::WriteFile(dir_ + "out.kof", "keep");
  ASSERT_TRUE(platform::MakeDirectories(dir_ + "report"));
  const std::vector<std::string> job = {kHeader, kUtm32, kGrs80,
                                        Keyed("P1", "K &R")};
  EXPECT_EQ(Run(job, 0, dir_ + "report"), 255);
  EXPECT_EQ(messages_, "Kunne ikke \xE5" "bne " + dir_ + "report\n");
  EXPECT_EQ(ReadFile(dir_ + "out.kof"), "keep");
  ASSERT_TRUE(platform::MakeDirectories(dir_ + "folder.kof"));
  EXPECT_EQ(Run(job, 0, " ", "folder.kof"), 255);
  EXPECT_EQ(messages_, "Kunne ikke \xE5" "bne " + dir_ + "folder.kof\n");
  ASSERT_TRUE(platform::MakeDirectories(dir_ + "out.info"));
  EXPECT_EQ(Run(job, 7, dir_ + "report.txt", "out.csv"), 0);
  EXPECT_EQ(ReadFile(dir_ + "out.csv"),
            "P1,6100000.500,500000.250,1.000,K\r\n"
            "P1, Retningspkt\r\n");
  // Besides the job: no temporary file, no old content left.
  EXPECT_EQ(platform::FindFiles(dir_, "*").size(), 7u);
}

}  // namespace
}  // namespace danvora

namespace danvora {
namespace {

// Deterministic noise: record codes and flags the library knows, followed
// by digits, signs, exponents, escapes, blanks and high bytes.
std::vector<std::string> NoiseJob(uint32_t seed, size_t count) {
  static const char* const kCodes[] = {
      "00", "02", "05", "07", "08", "09", "10", "13", "50", "54", "57", "61",
      "62", "64", "65", "66", "67", "69", "70", "71", "73", "74", "75", "77",
      "78", "79", "81", "87", "88", "89", "90", "91", "92", "A0", "A6", "B1",
      "B2", "B6", "C6", "C8", "D0", "D2", "D4", "D9", "E0", "E1", "E2", "E4"};
  static const char* const kFlags[] = {"NM", "KI", "SO", "M2", "CC", "RS",
                                       "F1", "IX", "FD", "OS", "TS", "CT"};
  static const char kAlphabet[] = "0123456789012345.-+eE   *&_:/?>nEB\xE6\xF8\x80\xFF";
  uint32_t state = seed;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  std::vector<std::string> lines = {
      Rec("00NM", {{40, "213110"}}), kUtm32, kGrs80,
      Rec("81NM", {{4, "2"}, {85, "DVR90"}})};
  for (size_t i = 0; i < count; ++i) {
    std::string line = std::string(kCodes[next() % 48]) + kFlags[next() % 12];
    const size_t length = next() % 170;
    for (size_t j = 0; j < length; ++j) {
      line += kAlphabet[next() % (sizeof kAlphabet - 1)];
    }
    if (next() % 7 == 0) line.replace(4, std::string::npos, Num(next() % 2 ? "1e308" : "-9000000.5"));
    lines.push_back(line);
  }
  return lines;
}

TEST_F(DctransTest, AnyRecordsTranslateWithoutHarm) {
  int translated = 0;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    const std::vector<std::string> job = NoiseJob(seed, 400);
    for (int format = -1; format <= 10; ++format) {
      testing::FreshLibrary();
      const int result = Run(job, format, dir_ + "report.txt");
      translated += result != 255;
      EXPECT_TRUE(result == 0 || result == -1 || result == 255)
          << "seed " << seed << " format " << format << ": " << result;
    }
  }
  EXPECT_GT(translated, 0);  // the noise must reach the writers
}

}  // namespace
}  // namespace danvora
