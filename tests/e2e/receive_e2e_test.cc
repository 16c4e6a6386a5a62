// A receive through Pelixo whose download definition runs the front end:
// the job comes from the simulated device, Pelixo exports it, and the front
// end translates the newest DC file of the temporary directory into the
// KX77 file at DownloadFile, with the field report beside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_world.h"

namespace e2e {
namespace {

using Names = std::vector<std::string>;

// "dd-Mon-yy hh:mm", the report's time of the conversion.
bool IsReportTime(const std::string& text) {
  const std::string shape = "99-Aaa-99 99:99";
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    char c = text[i];
    bool fits = shape[i] == '9'   ? c >= '0' && c <= '9'
                : shape[i] == 'A' ? c >= 'A' && c <= 'Z'
                : shape[i] == 'a' ? c >= 'a' && c <= 'z'
                                  : c == shape[i];
    if (!fits) return false;
  }
  return true;
}

TEST_F(EndToEnd, ReceiveLeavesTheKX77FileAndTheReportBesideTheExport) {
  PutJobOnDevice("HAVN7", Data("havn7.dc"), "havn7_points.txt");
  ChooseJobs("HAVN7");
  ASSERT_EQ(Pelixo({"receive", "--ini", ini_, "--format", "KX77 with field report", "--out",
                    out_.substr(0, out_.size() - 1)}),
            0)
      << stderr_;
  EXPECT_EQ(stderr_, "pelixo receive: 1 file written\n");

  // Pelixo's own export (the known points) has been replaced by the
  // translation; the report takes the export's base name.
  EXPECT_EQ(FilesIn(out_), (Names{"HAVN7.kor", "HAVN7.qa"}));
  EXPECT_EQ(ReadFile(out_ + "HAVN7.kor"), Data("havn7.kx77"));

  std::string report = ReadFile(out_ + "HAVN7.qa");
  const std::string time_label = "\r\nKonvertering   : ";
  size_t at = report.find(time_label);
  ASSERT_NE(at, std::string::npos) << report;
  at += time_label.size();
  EXPECT_TRUE(IsReportTime(report.substr(at, 15))) << report.substr(at, 15);
  report.replace(at, 15, "@NOW@");
  EXPECT_EQ(report, Data("havn7.qa"));

  // The received files are gone from the temporary directory.
  EXPECT_EQ(FilesIn(temp_), Names{});
}

// A job without a usable coordinate system is refused by the library: the
// user is told, and the file Pelixo exported stays as it was.
TEST_F(EndToEnd, ReceiveOfAJobTheLibraryRefusesKeepsPelixosExport) {
  std::string job = Data("havn7.dc");
  for (const char* record : {"64NM", "65NM"}) {
    size_t at = job.find(std::string("\r\n") + record);
    ASSERT_NE(at, std::string::npos);
    job.erase(at, job.find("\r\n", at + 2) - at);
  }
  PutJobOnDevice("NOCS", job, "havn7_points.txt");
  ChooseJobs("NOCS");
  EXPECT_EQ(Pelixo({"receive", "--ini", ini_, "--format", "KX77 with field report", "--out",
                    out_.substr(0, out_.size() - 1)}),
            0)
      << stderr_;
  EXPECT_EQ(stderr_,
            "DC filen indeholder ikke et brugbart koordinatsystem!\n"
            "pelixo receive: 1 file written\n");
  EXPECT_EQ(FilesIn(out_), Names{"NOCS.kor"});
  EXPECT_EQ(ReadFile(out_ + "NOCS.kor"),
            "H1,6176012.345,540021.987,12.340\r\n"
            "H2,6176020.500,540030.125,11.906\r\n"
            "K1,6176100.500,540200.250,13.250\r\n"
            "K2,6176110.250,540210.750,\r\n");
}

}  // namespace
}  // namespace e2e
