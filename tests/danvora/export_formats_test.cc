#include "danvora/export_formats.h"

#include <string>

#include <gtest/gtest.h>

#include "danvora/library_state.h"
#include "tests/danvora/test_util.h"

namespace danvora {
namespace {

using enum ExportFormat;

// One output file of a test; Text() commits it and gives its bytes.
class Output {
 public:
  explicit Output(const std::string& name)
      : path_(testing::TestFolder(
                  std::string("export_") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                  "_" + name) +
              name),
        out_(std::move(*TextOutput::Create(path_))) {}
  TextOutput* file() { return &out_; }
  std::string Text() {
    EXPECT_TRUE(out_.Commit());
    return testing::ReadFile(path_);
  }

 private:
  std::string path_;
  TextOutput out_;
};

// The expected file tests/data/danvora/export/`name`.
std::string Expected(const std::string& name) {
  return testing::ReadFile(tests_support::TestData("danvora/export/" + name));
}

class ExportFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshLibrary();
    begin_export_run();
  }
};

const Triple kPoint{512345.25, 6123456.75, 12.25};

std::string Line(ExportFormat format, const std::string& code,
                 const Triple& t = kPoint, const std::string& remark = "") {
  Output out("line.txt");
  write_point_line(format, "P1", t, code, remark, 1, out.file());
  return out.Text();
}

TEST_F(ExportFormatsTest, Kx77Codes) {
  const std::string head = "        P1     6123456.750      512345.250     12.250 ";
  EXPECT_EQ(Line(kKx77, "0_ABC"), head + "ABC\r\n");
  EXPECT_EQ(Line(kKx77, "2_XY.5"), head + "2.5\r\n");
  EXPECT_EQ(Line(kKx77, "0.5"), head + "0.5\r\n");
  EXPECT_EQ(Line(kKx77, "2_XY"), head + "2\r\n");
  EXPECT_EQ(Line(kKx77, "A_B_C"), head + "C\r\n");
  EXPECT_EQ(Line(kKx77, ""), head + "\r\n");
  EXPECT_EQ(Line(kKx77, "K", Triple{1, 2, -9000.0}),
            "        P1           2.000           1.000" + std::string(11, ' ') +
                " K\r\n");
}

TEST_F(ExportFormatsTest, CodeSplitOfLandcadAndGeocad) {
  Output out("split.txt");
  EXPECT_EQ(write_point_line(kLandcad, "P1", kPoint, "KB-3", "", 1, out.file()),
            "KB");
  EXPECT_EQ(write_point_line(kLandcad, "P1", kPoint, "KB.7-2", "", 1,
                             out.file()),
            "KB.7");
  EXPECT_EQ(write_point_line(kLandcad, "P1", kPoint, "KB", "R", 1, out.file()),
            "KB");
  EXPECT_EQ(write_point_line(kLandcad, "P1", kPoint, "KB-", "", 1, out.file()),
            "KB");
  const std::string tail = "6123456.750  512345.250         P1 12.250";
  EXPECT_EQ(out.Text(), "  KB3" + tail + std::string(15, ' ') + "\r\n" +
                            "KB.72" + tail + std::string(15, ' ') + "\r\n" +
                            "  KB9" + tail + std::string(14, ' ') + "R\r\n" +
                            "  KB " + tail + std::string(15, ' ') + "\r\n");
}

TEST_F(ExportFormatsTest, GeocadMillimetres) {
  const std::string fixed =
      "         0 20000    50 20000    50     0     0          0          0 ";
  EXPECT_EQ(Line(kGeocad, "K", Triple{7.0, 123.4567, -9000.5}),
            "   K 9    123456      7000   -500" + fixed + "P1          \r\n");
  // A UTM northing in millimetres needs more than 32 bits.
  EXPECT_EQ(Line(kGeocad, "K", Triple{500000.25, 6100000.5, 0.0}),
            "   K 96100000500 500000250      0" + fixed + "P1          \r\n");
}

TEST_F(ExportFormatsTest, MissingPlanIsNotWrittenButListed) {
  const Triple no_plan{1, -999999999.999, 5};
  EXPECT_EQ(Line(kKx77, "K", no_plan), "");
  EXPECT_EQ(Line(kDdh, "K", no_plan), "");
  EXPECT_EQ(Line(kReportListing, "KODE", no_plan),
            "        P1" + std::string(32, ' ') + "      5.000 KODE      ");
  EXPECT_EQ(Line(kReportListing, "ABCDEFGHIJKLM", kPoint),
            "        P1     6123456.750      512345.250     12.250 ABCDEFGHIJ");
}

TEST_F(ExportFormatsTest, SdlArgusMissingHeights) {
  const Triple no_height{1, 2, -9000.0};
  EXPECT_EQ(Line(kSdl, "", no_height, "rem"),
            " 6         P1         -            2.000           1.000      -    "
            " rem\r\n");
  EXPECT_EQ(Line(kArgus, "ABCDEFGHIJ", no_height),
            "         P1 ABCDEFGH                2.000       1.000        \r\n");
}

TEST_F(ExportFormatsTest, DdhLinesAndInfo) {
  Output out("ddh.txt");
  write_point_line(kDdh, "P1", kPoint, "K", "", 1, out.file());
  write_info_line(kDdh, "K.attr=value", out.file());
  write_info_line(kDdh, "plain", out.file());
  write_point_line(kDdh, "P2", Triple{1, 2, -9001}, "K", "", 1, out.file());
  finish_export_file(kDdh, "x", out.file());
  EXPECT_EQ(out.Text(),
            "        P1     6123456.750      512345.250     12.250 K, "
            "attr=value, plain\r\n"
            "        P2           2.000           1.000 ---------- K");
}

TEST_F(ExportFormatsTest, GeocadHeaderOfOnlyATitle) {
  Output out("geocad.txt");
  write_title_line(kGeocad, "Title", out.file());
  write_file_header(kGeocad, 13, out.file());
  std::string expected = "ascii  version 1\r\n    Title\r\n";
  for (int i = 0; i < 14; ++i) expected += "  \r\n";
  EXPECT_EQ(out.Text(), expected);
}

TEST_F(ExportFormatsTest, HeadersByFamily) {
  Output kx77("kx77.txt");
  write_file_header(kKx77, 21, kx77.file());
  EXPECT_EQ(kx77.Text(),
            "Koordinatsystem: YX koordinatsystem\r\n"
            "' Pkt.nr.    ,   Y meter    ,   X meter   ,   Kote   , Type     ,"
            "                    '\r\n");
  Output sdl("sdl.txt");
  write_file_header(kSdl, 11, sdl.file());
  EXPECT_EQ(sdl.Text(),
            " 8 Koordinatsystem: Bredde, L\xE6ngde, Eh\xF8jde (Euref89)\r\n"
            " 8 PKT.NR      KODE        LATITUDE        LOGITUDE      "
            "ELLIPSOIDE H                    \r\n");
  Output landcad("landcad.txt");
  write_file_header(kLandcad, 7, landcad.file());
  EXPECT_EQ(landcad.Text(),
            "C Koordinatsystem: Bredde, L\xE6ngde, Kote (Ed50)\r\n" +
                std::string(20, ' ') + "\r\n");
  Output alt("alt.txt");
  write_comment_line(kAlt, "ignored", alt.file());
  write_file_header(kAlt, 5, alt.file());
  finish_export_file(kCowi, "x", alt.file());
  EXPECT_EQ(alt.Text(), "1000\r\nE\r\n");
}

TEST_F(ExportFormatsTest, InfoFilePathKeepsTheFolder) {
  EXPECT_EQ(info_file_path("C:\\Data.2024\\site"), "C:\\Data.2024\\site.info");
  EXPECT_EQ(info_file_path("C:\\Data.2024\\site.kof"),
            "C:\\Data.2024\\site.info");
  EXPECT_EQ(info_file_path("/tmp/a.b/out.txt"), "/tmp/a.b/out.info");
  EXPECT_EQ(info_file_path("out"), "out.info");
  EXPECT_EQ(info_file_path("a.b.c"), "a.b.info");
}

TEST_F(ExportFormatsTest, InfoFileOnlyForItsFormats) {
  const std::string dir = testing::TestFolder("info_open");
  EXPECT_FALSE(open_info_file(kKx77, dir + "out.kof").has_value());
  EXPECT_FALSE(open_info_file(kDas, dir + "out.das").has_value());
  auto info = open_info_file(kGeocad, dir + "out.kof");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->path(), dir + "out.info");
  // A folder that does not exist: no info file, no message.
  EXPECT_FALSE(open_info_file(kAlt, dir + "none/out.kof").has_value());
}

ExportPoint Point(const std::string& code, int method = 1, int cls = 1) {
  ExportPoint p;
  p.name = "P1";
  p.triple = kPoint;
  p.code = code;
  p.method = method;
  p.point_class = cls;
  p.measure_kind = 8;
  p.method_text = "Indtastet/Beregnet i marken";
  return p;
}

TEST_F(ExportFormatsTest, CodeTokens) {
  testing::LoadJob({"69KI"});
  Output out("tokens.txt");
  Output report("report.txt");
  export_point(kKomma, Point("K1 &S:200+mm  K2 ."), " ", 13, out.file(),
               out.file(), report.file());
  EXPECT_EQ(out.Text(),
            "P1,6123456.750,512345.250,12.250,K1\r\n"
            "P1, St\xF8rrelse: 200 mm\r\n"
            "P1,6123456.750,512345.250,12.250,K2.\r\n");
  EXPECT_EQ(report.Text(), "\r\nINFO: St\xF8rrelse: 200 mm");

  Output none("none.txt");
  export_point(kSdl, Point("  "), " ", 13, none.file(), none.file(), nullptr);
  export_point(kSdl, Point("&R"), " ", 13, none.file(), none.file(), nullptr);
  export_point(kSdl, Point("K1 K2"), "", 13, none.file(), none.file(),
               nullptr);
  // Geographic systems: info texts only.
  export_point(kSdl, Point("K1 &N:1"), " ", 11, none.file(), none.file(),
               nullptr);
  EXPECT_EQ(none.Text(), Expected("tokens.sdl"));
}

TEST_F(ExportFormatsTest, CopiedAndDeletedPointsAreLeftOut) {
  testing::LoadJob({"69KI"});
  Output out("left_out.txt");
  export_point(kKx77, Point("K", 5, 1), "", 13, out.file(), out.file(),
               nullptr);
  export_point(kKx77, Point("K", 1, 9), "", 13, out.file(), out.file(),
               nullptr);
  export_point(kKx77, Point("K", 1, 6), "", 13, out.file(), out.file(),
               nullptr);
  export_point(kKx77, Point("K", 4, 5), "", 13, out.file(), out.file(),
               nullptr);
  EXPECT_EQ(out.Text(),
            "        P1     6123456.750      512345.250     12.250 K\r\n");
}

TEST_F(ExportFormatsTest, AttributeLinesFollowThePoint) {
  testing::LoadJob({
      "69KI",
      "B6NM",
      "87NM" + testing::Txt("Lamp", 20),
      "88NM" + testing::Txt("Height", 20) + "4.5",
      "13NM",
      "87NM" + testing::Txt("Tree", 20),
      "90NM" + testing::Txt("Kind", 20) + "Oak",
      "87NM" + testing::Txt("L", 20),
      "91NM" + testing::Txt("Short", 20) + "12345678901",
      "08NM",
      "88NM" + testing::Txt("After", 20) + "x",
  });
  Output out("attributes.txt");
  ExportPoint p = Point("Lamp7");
  export_point(kKx77, p, "", 13, out.file(), out.file(), nullptr);
  EXPECT_EQ(out.Text(),
            "        P1     6123456.750      512345.250     12.250 Lamp7\r\n"
            "&_Lamp.Height=4.5\r\n"
            "&_L.Short=12345678\r\n");
}

TEST_F(ExportFormatsTest, DasWellWithTerrainPoint) {
  library_state().ini_path = "";  // no settings: "-" and GpsMetode 8
  Output out("das.txt");
  write_file_header(kDas, 13, out.file());
  write_point_line(kDas, "X7", Triple{1, 2, 3}, "X7", "", 8, out.file());
  write_point_line(kDas, "B1", Triple{500000.5, 6200000.25, 10.80}, "B1", "",
                   8, out.file());
  write_info_line(kDas, "Brond.Nedstik=2.10", out.file());
  write_info_line(kDas, "Brond.Dato=2004-06-23   ", out.file());
  write_info_line(kDas, "Brond.Vejnavn=-", out.file());
  write_info_line(kDas, "U:3", out.file());
  write_point_line(kDas, "T1", Triple{500001, 6200001, 10.50}, "T1", "", 1,
                   out.file());
  finish_export_file(kDas, "C:\\out.das", out.file());
  EXPECT_EQ(out.Text(), Expected("well.das"));
}

TEST_F(ExportFormatsTest, SvkWellsAndAttributes) {
  Output out("svk.txt");
  write_file_header(kSvk, 13, out.file());
  write_point_line(kSvk, "W1", Triple{100.25, 200.5, 10}, "", "", 1,
                   out.file());
  write_info_line(kSvk, "N:1.5", out.file());
  write_info_line(kSvk, "T:0.25", out.file());
  write_info_line(kSvk, "D:0.8", out.file());
  write_info_line(kSvk, "Brond.Udlobsform=?x", out.file());
  write_point_line(kSvk, "W2", Triple{1, 2, 3}, "", "", 8, out.file());
  write_info_line(kSvk, "Brond.Diameter=1.25", out.file());
  write_info_line(kSvk, "Brond.Udlobsform=K", out.file());
  finish_export_file(kSvk, "x", out.file());
  EXPECT_EQ(out.Text(), Expected("wells.svk"));
}

TEST_F(ExportFormatsTest, AbsentFilesWriteNothing) {
  write_comment_line(kGeocad, "x", nullptr);
  write_file_header(kKx77, 1, nullptr);
  write_point_line(kKx77, "P", kPoint, "", "", 1, nullptr);
  write_info_line(kKx77, "x", nullptr);
  finish_export_file(kDas, "x", nullptr);
  EXPECT_EQ(library_state().export_state.comment_counter, 0);
  // The well formats still parse attributes.
  write_info_line(kSvk, "Brond.Vejnavn=Storegade 1234567890123456789012345  ",
                  nullptr);
  EXPECT_EQ(library_state().export_state.well.street,
            "Storegade 123456789012345678901");
}

}  // namespace
}  // namespace danvora
