// The field report's record walk, through whole translations.
#include "danvora/report.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "danvora/dctrans.h"
#include "tests/danvora/test_util.h"

namespace danvora {
namespace {

using testing::kGrs80;
using testing::kUtm32;
using testing::Num;
using testing::ReadFile;
using testing::Rec;
using testing::Txt;


class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshLibrary();
    dir_ = testing::FolderOfTest("report_");
  }
  int Run(const std::vector<std::string>& lines, int format,
          const std::string& known = "") {
    testing::WriteFile(dir_ + "job.dc", testing::JobBytes(lines));
    if (!known.empty()) testing::WriteFile(dir_ + "out.csv", known);
    ::testing::internal::CaptureStderr();
    const int result =
        Dctrans((dir_ + "job.dc").c_str(), (dir_ + "out.csv").c_str(),
                (dir_ + "report.txt").c_str(), ToExportFormat(format), "b",
                "");
    ::testing::internal::GetCapturedStderr();
    return result;
  }
  std::string Report() { return ReadFile(dir_ + "report.txt"); }
  std::string Output() { return ReadFile(dir_ + "out.csv"); }
  // The report or the point file against tests/data/danvora/report/`name`.
  static std::string Expected(const std::string& name) {
    return ReadFile(tests_support::TestData("danvora/report/" + name));
  }

  std::string dir_;
};

TEST_F(ReportTest, StationWithObservations) {
  ASSERT_EQ(
      Run({Rec("00NM", {{40, "213110"}}), kUtm32, kGrs80,
           Rec("75NM", {{4, Txt("TS15")}, {20, "  1234"}}),
           Rec("77NM", {{4, Num("1.6")}, {20, Num("0")}}),
           Rec("02NM", {{4, Txt("S1")}, {20, Num("100")}, {36, Num("200")},
                        {52, Num("10")}, {68, Num("1.55")}}),
           Rec("79NM", {{4, Txt("S1")}, {20, Txt("P1")}, {36, Num("50")},
                        {52, Num("100")}, {68, Num("50")}, {84, Txt("K")},
                        {100, "1"}}),
           Rec("77NM", {{4, std::string(16, ' ')}, {20, Num("0")}}),
           Rec("79NM", {{4, Txt("S1")}, {20, Txt("P2")}, {36, Num("60")},
                        {52, Num("99.5")}, {68, Num("150.25")}, {84, Txt("K")},
                        {100, "1"}}),
           Rec("79NM", {{4, Txt("S1")}, {20, Txt("P3")}, {36, Num("70")},
                        {52, Num("101")}, {68, Num("250")}, {84, Txt("R")},
                        {100, "5"}})},
          0, "P1,0,0,0\nP2,0,0,0\nP3,0,0,0\n"),
      0);
  // The reference observation is listed, never exported.
  EXPECT_EQ(Report(), Expected("station.report"));
  EXPECT_EQ(Output(), Expected("station.csv"));
}

TEST_F(ReportTest, GpsAntennaAndQuality) {
  const std::string gps_tail = Txt("C") + "41" + Num("0.012") + Num("0.025");
  ASSERT_EQ(
      Run({Rec("00NM", {{4, Txt("TP V03")}, {40, "213110"}}), kUtm32, kGrs80,
           Rec("81NM", {{4, "2"}, {85, "DVR90"}}),
           Rec("61NM", {{4, Txt("R8", 8)}, {12, Txt("5001", 8)},
                        {23, Txt("Zephyr", 30)}, {77, Num("0.1")},
                        {93, Num("0.05")}}),
           Rec("61NM", {{4, Txt("R8", 8)}, {12, Txt("5001", 8)},
                        {23, Txt("Zephyr", 30)}, {77, Num("0.1")},
                        {93, Num("0.05")}}),
           Rec("57NM", {{4, Num("1.5")}, {20, "0"}}),
           Rec("66NM", {{4, Txt("G1")}, {68, gps_tail}}),
           Rec("67NM", {{4, Txt("G2")},
                        {68, Txt("C") + "41" + Num("0.010") + Num("0.020")}}),
           Rec("66CC", {{4, Txt("G3")}, {68, Txt("C") + "51"}})},
          7, "G1,100,-200,50\nG2,110,-210,60\nG3,120,-220,70\n"),
      0);
  EXPECT_EQ(Report(), Expected("gps.report"));
  EXPECT_EQ(Output(), Expected("gps.csv"));
}

// GPS points and observed points take their co-ordinates only from the
// known points. One that is not among them is listed without a position and
// is not exported, nor are its attribute and info lines; a keyed-in point
// keeps its own co-ordinates.
TEST_F(ReportTest, PointsMissingFromKnownPointsHaveNoPosition) {
  const auto attributes = [](const std::string& group,
                             const std::string& value) {
    return std::vector<std::string>{
        Rec("87NM", {{4, Txt(group, 20)}}),
        Rec("88NM", {{4, Txt("A", 20)}, {24, Txt(value)}})};
  };
  std::vector<std::string> job = {
      Rec("00NM", {{4, Txt("TP V10")}, {40, "213110"}}), kUtm32, kGrs80,
      Rec("81NM", {{4, "2"}, {85, "DVR90"}}),
      Rec("57NM", {{4, Num("1.8")}, {20, "1"}}),
      Rec("66NM", {{4, Txt("G1")}, {68, Txt("K1") + "41"}})};
  for (const std::string& line : attributes("K1", "1")) job.push_back(line);
  job.push_back(Rec("66NM", {{4, Txt("G2")}, {68, Txt("K2 &R") + "41"}}));
  for (const std::string& line : attributes("K2", "2")) job.push_back(line);
  job.push_back(Rec("67NM", {{4, Txt("G3")}, {68, Txt("K3") + "41"}}));
  job.push_back(Rec("02NM", {{4, Txt("S1")}, {20, Num("100")},
                             {36, Num("200")}, {52, Num("10")},
                             {68, Num("1.55")}}));
  job.push_back(Rec("79NM", {{4, Txt("S1")}, {20, Txt("P5")}, {36, Num("50")},
                             {52, Num("100")}, {68, Num("50")},
                             {84, Txt("K5")}, {100, "1"}}));
  job.push_back(Rec("69KI", {{4, Txt("P9")}, {20, Num("7")}, {36, Num("8")},
                             {52, Num("9")}, {68, Txt("K9")}, {84, "11"}}));
  ASSERT_EQ(Run(job, 0, "G1,100,-200,50\n"), 0);
  EXPECT_EQ(Output(), Expected("missing.csv"));
  const std::string report = Report();
  EXPECT_NE(report.find("\r\nRTK fixed          G2" + std::string(44, ' ') +
                        "K2 &R     "),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\r\nINFO: Retningspkt"), std::string::npos);
  EXPECT_NE(report.find("\r\nRTK fixed          G3" + std::string(44, ' ') +
                        "K3        "),
            std::string::npos);
  EXPECT_NE(report.find("\r\nPol\xE6r              P5" +
                        std::string(44, ' ') + "K5        "),
            std::string::npos);
}

// The reference base is found wherever it stands among the known points,
// also after the lookup position, and the lookup position stays where the
// points left it. A base that is not there is listed without a position.
TEST_F(ReportTest, ReferenceBaseFoundAnywhereInKnownPoints) {
  const std::string header = Rec("00NM", {{4, Txt("TP V10")}, {40, "213110"}});
  const auto gps = [](const std::string& name) {
    return Rec("66NM", {{4, Txt(name)}, {68, Txt("C") + "41"}});
  };
  ASSERT_EQ(Run({header, kUtm32, kGrs80, Rec("81NM", {{4, "2"}, {85, "DVR90"}}),
                 Rec("57NM", {{4, Num("1.8")}, {20, "1"}}), gps("G1"),
                 gps("G2"), Rec("73NM", {{4, Txt("BASE")}}), gps("G2"),
                 Rec("73NM", {{4, Txt("NOBASE")}})},
                7, "G1,1,-1,1\nG2,2,-2,2\nBASE,3,-3,3\nG2,4,-4,4\n"),
            0);
  const std::string report = Report();
  EXPECT_NE(report.find("\r\nRef.base         BASE           3.000           "
                        "3.000      3.000" +
                        std::string(11, ' ') +
                        "   Base Antenneh\xF8jde =  1.800"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\r\nRef.base       NOBASE" + std::string(54, ' ') +
                        "   Base Antenneh\xF8jde =  1.800"),
            std::string::npos)
      << report;
  // The second G2 is the known point after the first, not the one after
  // the base.
  EXPECT_EQ(Output(),
            "G1,1.000,1.000,-0.800,C\r\n"
            "G2,2.000,2.000,0.200,C\r\n"
            "G2,2.000,2.000,0.200,C\r\n");
}

// A point's quality figures are its own: a GPS point without its own 62 or
// C6 record shows none, and a keyed-in point shows no precisions of the GPS
// point after it.
TEST_F(ReportTest, QualityFiguresAreThePointsOwn) {
  const std::string known = "G1,1,-1,1\nG2,2,-2,2\nG3,3,-3,3\nP1,4,-4,4\n";
  ASSERT_EQ(
      Run({Rec("00NM", {{4, Txt("TP V10")}, {40, "213110"}}), kUtm32, kGrs80,
           Rec("81NM", {{4, "2"}, {85, "DVR90"}}),
           Rec("66NM", {{4, Txt("G1")}, {68, Txt("C") + "41"}}),
           Rec("62NM", {{4, "09"}, {22, Num("1.2")}, {38, Num("2.3")}}),
           Rec("C6NM", {{4, "10"}, {23, Num("1.1")}, {39, Num("2.1")},
                        {55, Num("0.5")}}),
           Rec("66NM", {{4, Txt("G2")}, {68, Txt("C") + "41"}}),
           Rec("67NM", {{4, Txt("G3")}, {68, Txt("C") + "41"}}),
           Rec("62NM", {{4, "07"}, {22, Num("1.4")}, {38, Num("2.5")}})},
          7, known),
      0);
  const std::string listing = "C         ";
  EXPECT_NE(Report().find(
                "\r\nRTK fixed          G1           1.000           1.000"
                "      1.000 " + listing +
                "   0.5   1.10   2.10    10 Normal    \r\n"
                "RTK fixed          G2           2.000           2.000"
                "      2.000 " + listing + "\r\n"
                "RTK fixed          G3           3.000           3.000"
                "      3.000 " + listing +
                "         1.40   2.50     7 Normal    "),
            std::string::npos)
      << Report();
  ASSERT_EQ(
      Run({Rec("00NM", {{4, Txt("TP V03")}, {40, "213110"}}), kUtm32, kGrs80,
           Rec("81NM", {{4, "2"}, {85, "DVR90"}}),
           Rec("69KI", {{4, Txt("P1")}, {68, Txt("K")}, {84, "11"}}),
           Rec("66NM", {{4, Txt("G1")},
                        {68, Txt("C") + "41" + Num("0.012") + Num("0.025")}})},
          7, known),
      0);
  EXPECT_NE(Report().find("\r\nIndtastet          P1           4.000"
                          "           4.000      4.000 K         \r\n"),
            std::string::npos)
      << Report();
}

}  // namespace
}  // namespace danvora
