// `pelixo export`, `pelixo receive` and `pelixo send --device` as a user
// runs them, natively, with the stand-ins.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/pelixo/app/receive_test_support.h"

namespace pelixo {
namespace {

class ReceiveCommandTest : public testing::ReceiveWorld {
 protected:
  // Runs `pelixo` with `arguments`; its stderr lands in `stderr_`.
  int Pelixo(const std::string& arguments) {
    std::string errors = root_ + "stderr.txt";
    std::string command = std::string(PELIXO_BIN_DIR "/pelixo ") + arguments + " 2>\"" + errors +
                          "\" </dev/null";
    int status = std::system(command.c_str());
    stderr_ = tests_support::ReadFile(errors);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Ini() const { return "--ini \"" + std::string(testing::kReceiveData) + "Formats.ini\" "; }
  std::string Out(const std::string& name) const { return out_ + "/" + name; }

  std::string stderr_;
};

TEST_F(ReceiveCommandTest, ExportTakesThePointsFileBesideTheDCFile) {
  EXPECT_EQ(Pelixo("export " + Ini() + "--format \"fixed OUT\" --out " + Out("a.txt") + " " +
                   testing::kReceiveData + "job1.dc"),
            0)
      << stderr_;
  EXPECT_EQ(tests_support::ReadFile(Out("a.txt")), Expected("job1_fixed.txt"));
  EXPECT_EQ(stderr_,
            "pelixo export: 1 measured point has no co-ordinates in the points file and was not "
            "written\n");
}

TEST_F(ReceiveCommandTest, ExportWithoutPointsFileSaysSo) {
  std::string dc = root_ + "copy.dc";
  ASSERT_TRUE(platform::WriteWholeFile(dc, Expected("job1.dc")));
  EXPECT_EQ(Pelixo("export " + Ini() + "--format \"Zero padded\" --out " + Out("z.txt") + " " + dc),
            0);
  EXPECT_NE(stderr_.find("pelixo export: no points file " + root_ + "copy.tic"),
            std::string::npos)
      << stderr_;
  EXPECT_NE(stderr_.find("pelixo export: 3 measured points have no co-ordinates"),
            std::string::npos)
      << stderr_;
  EXPECT_EQ(tests_support::ReadFile(Out("z.txt")),
            "0001000.00 00200000 50.00000\r\n0001100.50 00210025 00000000\r\n"
            "-000012.50 -0000725 3.000000\r\n");

  // Keyed-in points only: no points file is missed, nothing is said.
  std::string keyed;
  std::string job = Expected("job1.dc");
  for (size_t start = 0, end; start < job.size(); start = end) {
    end = job.find('\n', start);
    end = end == std::string::npos ? job.size() : end + 1;
    if (job.compare(start, 2, "66") != 0) keyed += job.substr(start, end - start);
  }
  ASSERT_TRUE(platform::WriteWholeFile(dc, keyed));
  EXPECT_EQ(Pelixo("export " + Ini() + "--format \"Zero padded\" --out " + Out("k.txt") + " " + dc),
            0);
  EXPECT_EQ(stderr_, "");
  EXPECT_EQ(tests_support::ReadFile(Out("k.txt")), tests_support::ReadFile(Out("z.txt")));
}

TEST_F(ReceiveCommandTest, ExportRefusesUnknownFormatsAndFiles) {
  EXPECT_EQ(Pelixo("export " + Ini() + "--format Upload --out x " + testing::kReceiveData +
                   "job1.dc"),
            2);
  EXPECT_NE(stderr_.find("\"Comma out\", \"Fixed out\", \"Zero padded\""), std::string::npos)
      << stderr_;
  EXPECT_EQ(stderr_.find("pelixo export: no download definition \"Upload\" in "), 0u) << stderr_;
  // A definition of the other direction is named as such.
  EXPECT_EQ(Pelixo("export " + Ini() + "--format \"upload POINTS\" --out x " +
                   testing::kReceiveData + "job1.dc"),
            2);
  EXPECT_EQ(stderr_.find("pelixo export: \"upload POINTS\" in "), 0u) << stderr_;
  EXPECT_NE(stderr_.find(" is an upload definition; download definitions: "), std::string::npos)
      << stderr_;
  EXPECT_EQ(Pelixo("export " + Ini() + "--format \"Comma out\" --out x " + root_ + "none.dc"), 1);
  EXPECT_EQ(Pelixo("export " + Ini() + "--format \"Comma out\" --tic " + root_ + "none.tic" +
                   " --out x " + testing::kReceiveData + "job1.dc"),
            1);
  EXPECT_NE(stderr_.find("Cannot open file"), std::string::npos) << stderr_;
  EXPECT_FALSE(platform::FileExists("x"));
}

// An export whose definition runs a program that writes down the hand-over
// values it sees in Pelixo's settings into `seen_`.
class HandOverTest : public ReceiveCommandTest {
 protected:
  void SetUp() override {
    ReceiveCommandTest::SetUp();
    seen_ = root_ + "seen.txt";
    ini_ = root_ + "Formats.ini";
    ASSERT_TRUE(platform::WriteWholeFile(
        ini_, "[Run]\r\nNAME=Run\r\nSTYLE=COMMA\r\nEXTENSION=csv\r\n"
              "FIELD1=NAME,STRING,0,0,LEFT\r\nEXTERNALPROGRAM=\"" PELIXO_BIN_DIR
              "/send_helper\" record \"" + seen_ + "\" DownloadFile ReceivedFile\r\n"));
    ASSERT_TRUE(platform::WriteWholeFile(root_ + "job.dc", Expected("job2.dc")));
  }
  // `pelixo export` run in the test's folder.
  int Export(const std::string& arguments) {
    return Pelixo("export --ini \"" + ini_ + "\" --format Run " + arguments);
  }
  std::string Stored(const std::string& name) {
    platform::Expected<platform::RegistryKey> key = platform::RegistryKey::Open(
        platform::RegistryRoot::kCurrentUser, "Software\\Corvane\\Pelixo", false);
    if (!key) return "(no key)";
    return key->GetString(name).value_or("(none)");
  }

  std::string seen_, ini_;
};

// The program is told which DC file the export took, by its full path, for
// as long as it runs; afterwards the value is empty again.
TEST_F(HandOverTest, ExportNamesItsDCFileWhileItsProgramRuns) {
  EXPECT_EQ(Export("--out \"" + Out("job.csv") + "\" \"" + root_ + "job.dc\""), 0) << stderr_;
  EXPECT_EQ(tests_support::ReadFile(seen_), "DownloadFile=" + Out("job.csv") + "\nReceivedFile=" + root_ +
                             "job.dc\n");
  EXPECT_EQ(Stored("ReceivedFile"), "");
  EXPECT_EQ(Stored("DownloadFile"), Out("job.csv"));
}

// Names typed relative to the current folder reach the program as the
// files they name, not as names the program would take in its own folder.
TEST_F(HandOverTest, RelativeNamesAreHandedOverAsFullPaths) {
  std::string errors = root_ + "stderr.txt";
  std::string command = "cd \"" + root_ + "\" && \"" PELIXO_BIN_DIR
                        "/pelixo\" export --ini Formats.ini --format Run --out out/rel.csv "
                        "job.dc 2>\"" + errors + "\" </dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << tests_support::ReadFile(errors);
  EXPECT_EQ(tests_support::ReadFile(seen_), "DownloadFile=" + Out("rel.csv") + "\nReceivedFile=" + root_ +
                             "job.dc\n");
  EXPECT_EQ(tests_support::ReadFile(Out("rel.csv")), "Q1\r\n");
  EXPECT_EQ(Stored("DownloadFile"), Out("rel.csv"));
}

// A DownloadFile the settings cannot take would leave the program working
// on the last receive's file: the export says so and starts no program.
TEST_F(HandOverTest, DownloadFileThatCannotBeStoredStartsNoProgram) {
  std::string store = root_ + "registry.reg";
  const std::string bad = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=nonsense\n";
  ASSERT_TRUE(platform::WriteWholeFile(store, bad));
  EXPECT_EQ(Export("--out \"" + Out("job.csv") + "\" \"" + root_ + "job.dc\""), 1);
  EXPECT_NE(stderr_.find("Cannot store DownloadFile in the settings: Registry store "),
            std::string::npos)
      << stderr_;
  EXPECT_FALSE(platform::FileExists(seen_));
  EXPECT_EQ(tests_support::ReadFile(store), bad);
}

TEST_F(ReceiveCommandTest, ReceiveWritesEveryJobIntoTheFolder) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  PutJobOnDevice("JOBB", "job2.dc", "job2_points.txt", 7, 70, false);
  ChooseJobs("JOBA;JOBB");
  EXPECT_EQ(Pelixo("receive " + Ini() + "--format \"Comma out\" --out " + out_), 0) << stderr_;
  EXPECT_EQ(tests_support::ReadFile(Out("JOBA.csv")), Expected("job1_comma.csv"));
  EXPECT_EQ(tests_support::ReadFile(Out("JOBB.csv")), Expected("job2_comma_continued.csv"));
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  EXPECT_NE(stderr_.find("2 files written"), std::string::npos) << stderr_;
}

TEST_F(ReceiveCommandTest, ReceiveTellsWhyAJobWasSkipped) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  tests_support::SetMachineString("SOFTWARE\\Corvane\\Syncrona\\Device Drivers\\Terrapad\\Converter",
                            "Directory", root_ + "nothing-here");
  EXPECT_EQ(Pelixo("receive " + Ini() + "--format \"Comma out\" --out " + Out("one.csv")), 1);
  EXPECT_NE(stderr_.find("pelixo receive: The job reader"), std::string::npos) << stderr_;
  EXPECT_NE(stderr_.find("pelixo receive: 0 files written\n"), std::string::npos) << stderr_;
  EXPECT_FALSE(platform::FileExists(Out("one.csv")));
}

// A Formats.ini whose sections are all empty defines no format.
TEST_F(ReceiveCommandTest, NoDefinitionsAtAllAreSaid) {
  std::string ini = root_ + "empty-sections.ini";
  ASSERT_TRUE(platform::WriteWholeFile(ini, "[Comma out]\r\n[Fixed out]\r\n"));
  EXPECT_EQ(Pelixo("receive --ini " + ini + " --format \"Comma out\" --out " + out_), 1);
  EXPECT_NE(stderr_.find("No file formats specified - Formats.ini file required"),
            std::string::npos)
      << stderr_;
}

// Two jobs but --out names one file: the second job is not written, the
// receive fails, and that job's received files stay for another try.
TEST_F(ReceiveCommandTest, AJobThatOutCannotTakeKeepsItsFilesAndFails) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  PutJobOnDevice("JOBB", "job2.dc", "job2_points.txt", 7, 70, false);
  ChooseJobs("JOBA;JOBB");
  EXPECT_EQ(Pelixo("receive " + Ini() + "--format \"Comma out\" --out " + Out("one.csv")), 1);
  EXPECT_EQ(tests_support::ReadFile(Out("one.csv")), Expected("job1_comma.csv"));
  EXPECT_NE(stderr_.find("\"JOBB.csv\" is not saved"), std::string::npos) << stderr_;
  EXPECT_NE(stderr_.find("pelixo receive: 1 file written\n"), std::string::npos) << stderr_;
  EXPECT_EQ(tests_support::FilesIn(temp_), (std::vector<std::string>{"JOBB.DC", "JOBB.JOB", "JOBB.tic"}));
}

// A file that cannot be written is not counted as written.
TEST_F(ReceiveCommandTest, AFailedWriteIsNotCounted) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  tests_support::SetEnvironment("PELIXO_FAIL_WRITES", "one.csv");
  int exit_code = Pelixo("receive " + Ini() + "--format \"Comma out\" --out " + Out("one.csv"));
  tests_support::ClearEnvironment("PELIXO_FAIL_WRITES");
  EXPECT_EQ(exit_code, 1);
  EXPECT_NE(stderr_.find("Cannot write " + Out("one.csv")), std::string::npos) << stderr_;
  EXPECT_NE(stderr_.find("pelixo receive: 0 files written\n"), std::string::npos) << stderr_;
  EXPECT_FALSE(platform::FileExists(Out("one.csv")));
}

TEST_F(ReceiveCommandTest, SendToTheDevice) {
  std::string input = root_ + "points.txt";
  ASSERT_TRUE(platform::WriteWholeFile(input, "P1,1.000,2.000,3.000,OAK\r\n"));
  EXPECT_EQ(Pelixo("send " + Ini() + "--format \"Upload points\" --job SITE2 --device " + input), 0)
      << stderr_;
  EXPECT_EQ(tests_support::FilesIn(device_), std::vector<std::string>({"SITE2.DC"}));
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  EXPECT_EQ(Pelixo("send " + Ini() + "--format \"Upload points\" --job SITE2 --device --out x " + input), 2);
}

TEST_F(ReceiveCommandTest, MakeJobWritesBothLayouts) {
  std::string points = root_ + "points.txt";
  ASSERT_TRUE(platform::WriteWholeFile(points, "# two points\nNEZ,P1,OAK,1,2,3\r\n\nSTN,S1,,1.5,4,5,6\n"));
  auto make_job = [&](const std::string& arguments) {
    std::string command = std::string(PELIXO_BIN_DIR "/make-job ") + arguments + " 2>\"" +
                          root_ + "stderr.txt\"";
    int status = std::system(command.c_str());
    stderr_ = tests_support::ReadFile(root_ + "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  ASSERT_EQ(make_job("--older --version 7.70 " + points + " " + root_ + "old.JOB"), 0) << stderr_;
  EXPECT_EQ(tests_support::ReadFile(root_ + "old.JOB"),
            std::string("TJ\x07\x46") + "NEZ,P1,OAK,1,2,3\r\nSTN,S1,,1.5,4,5,6\r\n");
  ASSERT_EQ(make_job(points + " " + root_ + "new.JOB"), 0) << stderr_;
  EXPECT_EQ(tests_support::ReadFile(root_ + "new.JOB").substr(0, 38),
            "Corvane Terrapad Job" + std::string(16, '\0') + "\x0a\x46");

  ASSERT_TRUE(platform::WriteWholeFile(points, "NEZ,P1,OAK,1,2,3\nRTK,R1,,1,2,3\n"));
  EXPECT_EQ(make_job(points + " " + root_ + "bad.JOB"), 1);
  EXPECT_EQ(stderr_, "make-job: " + points + ", line 2: a RTK point has 9 items\n");
  EXPECT_FALSE(platform::FileExists(root_ + "bad.JOB"));
}

}  // namespace
}  // namespace pelixo
