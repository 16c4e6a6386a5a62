// The real danvora-frontend and danvora-cli programs, run as Pelixo and a
// user run them: registry hand-over through a private store, the library
// loaded from beside the program, messages on stderr.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/support/test_environment.h"

namespace {

using tests_support::TestData;
using tests_support::ReadFile;
using tests_support::WriteFile;

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

class ProgramRun : public testing::Test {
 protected:
  void SetUp() override {
    work_ = dir_.path();
    tests_support::PrivateSettings(work_);
    temp_ = work_ + "temp/";
    ASSERT_TRUE(platform::MakeDirectories(temp_).ok());
    temp_env_.emplace("TMPDIR", temp_);
  }

  void SetSetting(const std::string& name, const std::string& value) {
    auto key = platform::RegistryKey::Open(
        platform::RegistryRoot::kCurrentUser, "Software\\Corvane\\Pelixo",
        true);
    ASSERT_TRUE(key.ok());
    ASSERT_TRUE(key->SetString(name, value).ok());
  }

  // Runs `program` with `arguments` (a shell text) in the work folder.
  RunResult Run(const std::string& program, const std::string& arguments) {
    const std::string out = work_ + "stdout.txt";
    const std::string err = work_ + "stderr.txt";
    const std::string command = "cd '" + work_ + "' && '" + PELIXO_BIN_DIR +
                                "/" + program + "' " + arguments + " >'" +
                                out + "' 2>'" + err + "'";
    int status = std::system(command.c_str());
    RunResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    (void)platform::RemoveFile(out);
    (void)platform::RemoveFile(err);
    return result;
  }

  RunResult FrontEnd(const std::string& arguments) {
    return Run("danvora-frontend", arguments);
  }

  // The user's upload file `name` of the work folder, holding the koordles
  // sample `sample`; its path.
  std::string ChooseUpload(const std::string& name, const std::string& sample) {
    const std::string chosen = work_ + name;
    WriteFile(chosen, Koordles(sample));
    SetSetting("UploadFile", chosen);
    return chosen;
  }

  // The export of an earlier receive, Site1.txt, as DownloadFile.
  std::string ExistingDownload(const std::string& bytes = kEarlierExport) {
    const std::string download = work_ + "Site1.txt";
    WriteFile(download, bytes);
    SetSetting("DownloadFile", download);
    return download;
  }

  static std::string Koordles(const std::string& sample) {
    return ReadFile(TestData("frontend/koordles/" + sample));
  }
  static constexpr char kEarlierExport[] = "A 1.0 2.0 3.0\r\n";

  static std::string BaseName(const std::string& name) {
    return name.substr(0, name.find('.'));
  }

  // The files of the work folder besides the store and the temp folder.
  std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const platform::FileEntry& f : platform::FindFiles(work_, "*")) {
      if (!f.is_directory && f.name != "registry.reg" &&
          f.name.rfind("registry.reg", 0) != 0) {
        names.push_back(f.name);
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  tests_support::ScopedTempDir dir_;
  std::optional<tests_support::ScopedEnv> temp_env_;
  std::string work_;
  std::string temp_;
};

using Names = std::vector<std::string>;

// Whether a translated file or report names `job` as its job.
bool NamesJob(const std::string& text, const std::string& job) {
  return text.find("Job            : " + job + "\r\n") != std::string::npos;
}

TEST_F(ProgramRun, EmptyCommandLine) {
  RunResult r = FrontEnd("");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Ingen kommandolinie Sn\xf8" "ft!\n");
}

TEST_F(ProgramRun, UploadConvertsAndKeepsTheChosenFileAsOrg) {
  const std::string chosen = ChooseUpload("P.geo", "geocad.txt");
  const std::string original = Koordles("geocad.txt");
  RunResult r = FrontEnd("-UP -Format=GEOCAD");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadFile(chosen), Koordles("geocad.csv"));
  EXPECT_EQ(ReadFile(chosen + ".org"), original);
  EXPECT_EQ(Files(), (Names{"P.geo", "P.geo.org"}));
}

TEST_F(ProgramRun, UploadWithXyCoordinateSystemNegatesTheSecondNumber) {
  const std::string chosen = ChooseUpload("P.txt", "komma.txt");
  SetSetting("CoordSysFile", work_ + "System34-XY.dc");
  RunResult r = FrontEnd("-Format=CSV -UP");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(chosen), Koordles("komma_sign.csv"));
  // "-XY" counts only with its letter case.
  WriteFile(chosen, Koordles("komma.txt"));
  ASSERT_TRUE(platform::RemoveFile(chosen + ".org").ok());
  SetSetting("CoordSysFile", work_ + "System34-xy.dc");
  r = FrontEnd("-Format=CSV -UP");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(chosen), Koordles("komma.csv"));
}

TEST_F(ProgramRun, UploadOfACsvFileIsNotConvertedOntoItself) {
  const std::string chosen = ChooseUpload("P.csv", "komma.txt");
  const std::string original = Koordles("komma.txt");
  RunResult r = FrontEnd("-UP -Format=CSV");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(chosen), Koordles("komma.csv"));
  EXPECT_EQ(ReadFile(chosen + ".org"), original);
  EXPECT_EQ(Files(), (Names{"P.csv", "P.csv.org"}));
}

TEST_F(ProgramRun, UploadNeverReplacesAnEarlierBackup) {
  const std::string chosen = ChooseUpload("P.geo", "geocad.txt");
  const std::string original = Koordles("geocad.txt");
  WriteFile(chosen + ".org", "earlier backup\r\n");
  RunResult r = FrontEnd("-UP -Format=GEOCAD");
  EXPECT_NE(r.exit_code, 0);
  // Both files named, both as they were; no conversion left behind.
  EXPECT_NE(r.err.find(chosen + " til " + chosen + ".org"), std::string::npos)
      << r.err;
  EXPECT_EQ(ReadFile(chosen), original);
  EXPECT_EQ(ReadFile(chosen + ".org"), "earlier backup\r\n");
  EXPECT_EQ(Files(), (Names{"P.geo", "P.geo.org"}));
}

TEST_F(ProgramRun, UploadKeepsTheUsersFileNamedLikeTheConversion) {
  // "P.csv" beside "P.kor", "a.csv" beside "a.b.c.kor": the user's own
  // files, never the place of the conversion.
  const std::string original = Koordles("kx77.txt");
  const std::string converted = Koordles("kx77.csv");
  for (const std::string& name : {std::string("P.kor"), std::string("a.b.c.kor")}) {
    SCOPED_TRACE(name);
    const std::string chosen = work_ + name;
    const std::string own_csv = work_ + BaseName(name) + ".csv";
    Names all = {BaseName(name) + ".csv", name, name + ".org"};
    std::sort(all.begin(), all.end());
    WriteFile(chosen, original);
    WriteFile(own_csv, "the user's own\r\n");
    SetSetting("UploadFile", chosen);
    RunResult r = FrontEnd("-UP -Format=KX77");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadFile(chosen), converted);
    EXPECT_EQ(ReadFile(chosen + ".org"), original);
    EXPECT_EQ(ReadFile(own_csv), "the user's own\r\n");
    EXPECT_EQ(Files(), all);

    // A failure (an earlier backup in the way) leaves every file as it was.
    WriteFile(chosen, original);
    WriteFile(chosen + ".org", "earlier backup\r\n");
    r = FrontEnd("-UP -Format=KX77");
    EXPECT_NE(r.exit_code, 0);
    EXPECT_EQ(ReadFile(chosen), original);
    EXPECT_EQ(ReadFile(chosen + ".org"), "earlier backup\r\n");
    EXPECT_EQ(ReadFile(own_csv), "the user's own\r\n");
    EXPECT_EQ(Files(), all);
    for (const std::string& file : Files()) {
      ASSERT_TRUE(platform::RemoveFile(work_ + file).ok());
    }
  }
}

TEST_F(ProgramRun, UploadStopsWhenTheConversionHasNoPlace) {
  // No file can be made beside the chosen one: nothing converted, nothing
  // renamed, the folder named.
  const std::string chosen = ChooseUpload("P.geo", "geocad.txt");
  const std::string original = Koordles("geocad.txt");
  tests_support::SetEnvironment("PELIXO_FAIL_WRITES", ".csv");
  RunResult r = FrontEnd("-UP -Format=GEOCAD");
  tests_support::ClearEnvironment("PELIXO_FAIL_WRITES");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Kunne ikke skrive i " + work_ + "\n");
  EXPECT_EQ(ReadFile(chosen), original);
  EXPECT_EQ(Files(), (Names{"P.geo"}));
}

TEST_F(ProgramRun, UploadInAFormatKoordlesCannotReadStops) {
  const std::string chosen = ChooseUpload("P.geo", "geocad.txt");
  const std::string original = Koordles("geocad.txt");
  RunResult r = FrontEnd("-UP");  // no format: -1
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Format -1 kan ikke indl\xe6ses\n");
  r = FrontEnd("-UP -Format=SVK");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Format SVK kan ikke indl\xe6ses\n");
  EXPECT_EQ(ReadFile(chosen), original);
  EXPECT_EQ(Files(), (Names{"P.geo"}));
}

TEST_F(ProgramRun, UploadOfAFileThatIsNotThere) {
  SetSetting("UploadFile", work_ + "gone.geo");
  RunResult r = FrontEnd("-UP -Format=GEOCAD");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Kunne ikke \xe5" "bne " + work_ + "gone.geo\n");
  EXPECT_EQ(Files(), Names{});
}

TEST_F(ProgramRun, ReceiveTranslatesTheDcFileIntoDownloadFile) {
  const std::string job = std::string(PELIXO_TEST_DATA) + "/danvora/golden_kp2000.dc";
  if (!platform::FileExists(job)) GTEST_SKIP() << "no DC job at " << job;
  const std::string before = "P0 1.0 2.0 3.0\r\n";
  const std::string download = ExistingDownload(before);
  WriteFile(temp_ + "JOB.dc", ReadFile(job));

  // No "-Format=": only the report, DownloadFile is only read.
  RunResult r = FrontEnd("-QA");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(download), before);
  EXPECT_EQ(ReadFile(work_ + "Site1.qa").rfind("M\xe5ling start", 0), 0u);
  EXPECT_EQ(Files(), (Names{"Site1.qa", "Site1.txt"}));

  // SDL point file in place of Pelixo's export; no report without "-QA".
  ASSERT_TRUE(platform::RemoveFile(work_ + "Site1.qa").ok());
  r = FrontEnd("-Format=SDL");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(download).rfind(" 8 Job ", 0), 0u) << ReadFile(download);
  EXPECT_EQ(Files(), (Names{"Site1.txt"}));
}

TEST_F(ProgramRun, ReceiveTranslatesTheJobPelixoNames) {
  // Two jobs received at once: the one Pelixo names is translated and
  // copied, not the newer file of the temporary folder.
  const std::string s34 = ReadFile(TestData("danvora/golden_system34.dc"));
  const std::string golden1 = ReadFile(TestData("danvora/golden_kp2000.dc"));
  WriteFile(temp_ + "S34.dc", s34);
  WriteFile(temp_ + "GOLDEN1.dc", golden1);  // newest, and first by name
  const std::string download = ExistingDownload();
  SetSetting("ReceivedFile", temp_ + "S34.dc");
  RunResult r = FrontEnd("-Format=KX77 -QA -DC");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(NamesJob(ReadFile(download), "S34"));
  EXPECT_TRUE(NamesJob(ReadFile(work_ + "Site1.qa"), "S34"));
  EXPECT_EQ(ReadFile(work_ + "S34.dc"), s34);
  EXPECT_EQ(Files(), (Names{"S34.dc", "Site1.qa", "Site1.txt"}));

  // A name that is no file (or none at all): the newest DC file, as from a
  // front end that Pelixo did not start.
  ASSERT_TRUE(platform::RemoveFile(work_ + "S34.dc").ok());
  for (const std::string& received : {temp_ + "gone.dc", std::string()}) {
    SetSetting("ReceivedFile", received);
    r = FrontEnd("-Format=KX77 -QA -DC");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_TRUE(NamesJob(ReadFile(download), "GOLDEN1"));
    EXPECT_EQ(Files(), (Names{"GOLDEN1.dc", "Site1.qa", "Site1.txt"}));
    ASSERT_TRUE(platform::RemoveFile(work_ + "GOLDEN1.dc").ok());
  }
}

TEST_F(ProgramRun, ReceiveTakesOnlyPlainFilesOfTheTemporaryFolder) {
  // A link to a file elsewhere, a FIFO and a folder named like a job are
  // passed over, however new; the plain DC file is the job.
  const std::string golden1 = ReadFile(TestData("danvora/golden_kp2000.dc"));
  const std::string s34 = ReadFile(TestData("danvora/golden_system34.dc"));
  WriteFile(temp_ + "S34.dc", s34);
  ASSERT_EQ(::mkfifo((temp_ + "zfifo.dc").c_str(), 0600), 0);
  ASSERT_TRUE(platform::MakeDirectories(temp_ + "folder.dc").ok());
  const std::string elsewhere = work_ + "elsewhere/GOLDEN1.dc";
  ASSERT_TRUE(platform::MakeDirectories(work_ + "elsewhere").ok());
  WriteFile(elsewhere, golden1);  // newest, and first by name
  ASSERT_EQ(::symlink(elsewhere.c_str(), (temp_ + "LINK.dc").c_str()), 0);
  const std::string download = ExistingDownload();
  RunResult r = FrontEnd("-Format=KX77 -DC");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(NamesJob(ReadFile(download), "S34"));
  EXPECT_EQ(Files(), (Names{"S34.dc", "Site1.txt"}));

  // The file Pelixo names is opened as the system resolves it.
  ASSERT_TRUE(platform::RemoveFile(work_ + "S34.dc").ok());
  SetSetting("ReceivedFile", temp_ + "LINK.dc");
  r = FrontEnd("-Format=KX77 -DC");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(NamesJob(ReadFile(download), "GOLDEN1"));
  EXPECT_EQ(ReadFile(work_ + "LINK.dc"), golden1);
  EXPECT_EQ(Files(), (Names{"LINK.dc", "Site1.txt"}));
}

TEST_F(ProgramRun, ReceiveWithoutADcFileCallsNoLibrary) {
  const std::string download = ExistingDownload();
  WriteFile(temp_ + "job.dco", "not a dc file\r\n");
  RunResult r = FrontEnd("-Format=SDL -QA -DC");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Kunne ikke finde Dc filen\n");
  EXPECT_EQ(ReadFile(download), kEarlierExport);
  EXPECT_EQ(Files(), (Names{"Site1.txt"}));
}

TEST_F(ProgramRun, ReceiveKeepsACopyOfTheDcFileWithDc) {
  const std::string download = ExistingDownload();
  WriteFile(temp_ + "JOB1.dc", "00NMjob\r\n");
  WriteFile(work_ + "JOB1.dc", "older copy\r\n");
  FrontEnd("-Format=KX77 -DC");
  // An earlier copy is replaced.
  EXPECT_EQ(ReadFile(work_ + "JOB1.dc"), "00NMjob\r\n");
}

TEST_F(ProgramRun, ReceiveStopsWhenTheDcCopyFails) {
  const std::string download = ExistingDownload();
  WriteFile(temp_ + "JOB1.dc", "00NMjob\r\n");
  tests_support::SetEnvironment("PELIXO_FAIL_WRITES", work_ + "JOB1.dc");
  RunResult r = FrontEnd("-Format=KX77 -QA -DC");
  tests_support::ClearEnvironment("PELIXO_FAIL_WRITES");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Kunne ikke kopiere " + temp_ + "JOB1.dc til " + work_ +
                       "JOB1.dc\n");
  // The library was not called: no report, the export as it was.
  EXPECT_EQ(ReadFile(download), kEarlierExport);
  EXPECT_EQ(Files(), (Names{"Site1.txt"}));
}

TEST_F(ProgramRun, LongCommandLine) {
  SetSetting("UploadFile", work_ + "gone.geo");
  std::string line(10000, 'q');
  RunResult r = FrontEnd(line + " -UP -Format=ALT");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(r.err, "Kunne ikke \xe5" "bne " + work_ + "gone.geo\n");
}

TEST_F(ProgramRun, CliRunsTheLibrarysKoordles) {
  const std::string out = work_ + "out.csv";
  const std::string in = TestData("frontend/koordles/landcad.txt");
  RunResult r = Run("danvora-cli", "koordles '" + in + "' '" + out + "' 2 1");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "koordles returned 0\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadFile(out), Koordles("landcad.csv"));

  WriteFile(out, "kept\r\n");
  r = Run("danvora-cli", "koordles '" + in + "' '" + out + "' 9 1");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "koordles returned 255\n");
  EXPECT_EQ(r.err, "Format DAS kan ikke indl\xe6ses\n");
  EXPECT_EQ(ReadFile(out), "kept\r\n");

  r = Run("danvora-cli", "koordles a b");
  EXPECT_EQ(r.exit_code, 2);
  r = Run("danvora-cli", "dctrans a b c x d e");
  EXPECT_EQ(r.exit_code, 2);
}

TEST_F(ProgramRun, CliRefusesNumbersTheLibraryCannotTake) {
  // The library takes 16-bit numbers: 65538 would reach it as 2 (LANDCAD)
  // and 65537 as the sign 1. Refused as a usage error, nothing loaded.
  const std::string in = TestData("frontend/koordles/landcad.txt");
  const std::string out = work_ + "out.csv";
  for (const char* numbers : {"65538 1", "2 65537", "-32769 1", "2 32768",
                              "99999999999999999999 1"}) {
    SCOPED_TRACE(numbers);
    RunResult r = Run("danvora-cli",
                      "koordles '" + in + "' '" + out + "' " + numbers);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
  }
  RunResult r = Run("danvora-cli", "dctrans '" + work_ + "none.dc' '" + out +
                                       "' ' ' 65536 ' ' x.ini");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Files(), Names{});

  // The ends of the range reach the library as they are.
  r = Run("danvora-cli", "koordles '" + in + "' '" + out + "' 32767 -32768");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "koordles returned 255\n");
  EXPECT_EQ(r.err, "Format 32767 kan ikke indl\xe6ses\n");
  r = Run("danvora-cli", "koordles '" + in + "' '" + out + "' -32768 1");
  EXPECT_EQ(r.err, "Format -32768 kan ikke indl\xe6ses\n");
}

#ifndef _WIN32
TEST_F(ProgramRun, OwnWordsFollowTheLocaleNotThePaths) {
  // The words in the encoding the locale names, the file name as its bytes
  // are: a Windows-1252 name stays one.
  const std::string job = work_ + "n\xE6ste.dc";
  const std::string dctrans = "dctrans '" + job + "' out.kx ' ' 0 b, x.ini";
  tests_support::SetEnvironment("LC_ALL", "C.UTF-8");
  RunResult r = Run("danvora-cli", dctrans);
  EXPECT_EQ(r.err, "Kunne ikke \xC3\xA5" "bne " + job + "\n");
  EXPECT_EQ(FrontEnd("").err, "Ingen kommandolinie Sn\xC3\xB8" "ft!\n");
  tests_support::SetEnvironment("LC_ALL", "C");
  r = Run("danvora-cli", dctrans);
  EXPECT_EQ(r.err, "Kunne ikke \xE5" "bne " + job + "\n");
  EXPECT_EQ(FrontEnd("").err, "Ingen kommandolinie Sn\xF8" "ft!\n");
}
#endif

}  // namespace
