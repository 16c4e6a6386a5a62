// `pelixo send`: in process for the messages and exit codes, and as the
// real program for whole runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pelixo/app/cli/commands.h"
#include "pelixo/app/options_form.h"
#include "platform/process.h"
#include "tests/pelixo/app/send_test_support.h"

namespace pelixo {
namespace {

using send_test::ExpectSameJob;
using send_test::kData;
using send_test::ReadFile;
using send_test::SendTest;
using send_test::SetEnvironment;
using send_test::WriteFile;

struct CommandResult {
  int exit_code;
  std::string err;
};

CommandResult RunSend(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  testing::internal::CaptureStderr();
  int code = RunSendCommand(static_cast<int>(args.size()), argv.data());
  return {code, testing::internal::GetCapturedStderr()};
}

std::string Program() {
#ifdef _WIN32
  return PELIXO_BIN_DIR "/pelixo-cli.exe";
#else
  return PELIXO_BIN_DIR "/pelixo";
#endif
}

class SendCommandTest : public SendTest {
 protected:
  std::string ini_ = kData + "Formats.ini";
};

TEST_F(SendCommandTest, EveryOptionGiven) {
  std::string out = folder_.File("comma.DC");
  CommandResult result =
      RunSend({"--ini", ini_, "--format", "Comma points", "--job", "Comma test", "--out", out,
               "--dc-version", "10.0", "--coord-units", "feet", "--angle-units", "degrees",
               "--coordsys", kData + "coordsys.dc", kData + "comma.csv"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err,
            "pelixo send: 7 points written, 1 input line skipped, 2 values cut to 16 "
            "characters\n");
  ExpectSameJob(kData + "expected/comma.DC", out);
  EXPECT_EQ(StoredString(kUploadFileValue), kData + "comma.csv");
  // The options of the run are not stored.
  EXPECT_FALSE(PelixoKey().GetInt(kDCFileVersionValue));
}

TEST_F(SendCommandTest, AbsentOptionsTakeTheStoredSettings) {
  platform::RegistryKey key = PelixoKey();
  ASSERT_TRUE(key.SetInt(kDCFileVersionValue, kDCFileVersion75).ok());
  ASSERT_TRUE(key.SetInt(kAngleUnitsValue, kAngleUnitsMils).ok());
  ASSERT_TRUE(key.SetInt(kCoordUnitsValue, kCoordUnitsUsFeet).ok());
  ASSERT_TRUE(key.SetString(kCoordSysFileValue, kData + "coordsys.dc").ok());
  std::string out = folder_.File("fixed.DC");
  CommandResult result = RunSend({"--ini", ini_, "--format", "Fixed columns", "--job",
                                  "Fixed columns 20 ch", "--out", out, kData + "fixed.txt"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err,
            "pelixo send: 3 points written, 4 input lines skipped, 1 value cut to 16 "
            "characters\n");
  ExpectSameJob(kData + "expected/fixed.DC", out);

  // Given ones win over stored ones; the format name may differ in case.
  result = RunSend({"--ini", ini_, "--format", "name PARTS", "--job", "Parts", "--out",
                    folder_.File("parts.DC"), "--dc-version=10.7", "--angle-units=gons",
                    "--coord-units=meters", "--coordsys=", kData + "parts.pts"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  ExpectSameJob(kData + "expected/parts.DC", folder_.File("parts.DC"));
}

#ifndef _WIN32  // a store file of the posix build
// A store that cannot be read gives one warning and the defaults; the
// UploadFile it cannot take ends the send with exit 1, the store unchanged.
TEST_F(SendCommandTest, UnreadableStoreIsToldAndEndsTheSend) {
  const std::string store = folder_.File("registry.reg");
  // A store saved as UTF-16 by an editor.
  const std::string bad("\xff\xfeR\0E\0G\0", 8);
  WriteFile(store, bad);
  std::string out = folder_.File("x.DC");
  CommandResult result = RunSend({"--ini", ini_, "--format", "Comma points", "--job", "J",
                                  "--out", out, kData + "comma.csv"});
  EXPECT_EQ(result.exit_code, 1);
  const std::string why = "Registry store " + store +
                          " line 1: not a registry export (REGEDIT4 expected)";
  EXPECT_EQ(result.err, "pelixo send: Cannot read the settings, the defaults are used: " + why +
                            "\npelixo send: Cannot store UploadFile in the settings: " + why +
                            "\n");
  EXPECT_EQ(ReadFile(store), bad);
  EXPECT_FALSE(platform::FileExists(out));
}
#endif

TEST_F(SendCommandTest, UsageErrors) {
  std::string in = kData + "comma.csv";
  std::string out = folder_.File("x.DC");
  CommandResult result = RunSend({"--ini", ini_, "--format", "Export names", "--job", "J",
                                  "--out", out, in});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("\"Comma points\", \"Fixed columns\", \"Name parts\", \"No fields\", "
                            "\"Locale numbers\""),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.err.find("Export names\"\n"), std::string::npos);
  EXPECT_NE(result.err.find("pelixo send: \"Export names\" in " + ini_ +
                            " is a download definition; upload definitions: "),
            std::string::npos)
      << result.err;
  // A name of neither direction.
  result = RunSend({"--ini", ini_, "--format", "Nothing", "--job", "J", "--out", out, in});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.err.find("pelixo send: no upload definition \"Nothing\" in "), 0u)
      << result.err;
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"--ini", ini_, "--job", "J", "--out", out, in},
           {"--ini", ini_, "--format", "Comma points", "--out", out, in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out, in, in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out,
            "--dc-version", "8.0", in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out,
            "--coord-units", "yards", in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out,
            "--angle-units", "Gons", in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out, "--verbose",
            in},
           {"--ini", ini_, "--format", "Comma points", "--job", "J", in, "--out"}}) {
    result = RunSend(args);
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_NE(result.err.find("usage: pelixo send"), std::string::npos);
  }
  EXPECT_FALSE(platform::FileExists(out));
  EXPECT_FALSE(StoredString(kUploadFileValue));
}

TEST_F(SendCommandTest, ErrorsAndWarnings) {
  std::string out = folder_.File("x.DC");
  // No Formats.ini.
  CommandResult result = RunSend({"--ini", folder_.File("none.ini"), "--format", "A", "--job", "J",
                                  "--out", out, kData + "comma.csv"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("No file formats specified - Formats.ini file required"),
            std::string::npos);
  // An empty job name.
  result = RunSend({"--ini", ini_, "--format", "Comma points", "--job", "", "--out", out,
                    kData + "comma.csv"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "pelixo send: A job name must be specified for the converted data\n");
  // An input that cannot be read: its path on stderr.
  result = RunSend({"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out,
                    folder_.File("missing.csv")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("missing.csv"), std::string::npos) << result.err;
  // An output that cannot be written: the old file stays.
  WriteFile(out, "old");
  SetEnvironment("PELIXO_FAIL_WRITES", "x.DC");
  result = RunSend({"--ini", ini_, "--format", "Comma points", "--job", "J", "--out", out,
                    kData + "comma.csv"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("x.DC"), std::string::npos) << result.err;
  EXPECT_EQ(ReadFile(out), "old");
  send_test::ClearEnvironment("PELIXO_FAIL_WRITES");
  // A coordinate-system file named but missing: a warning, and the job.
  result = RunSend({"--ini", ini_, "--format", "Name parts", "--job", "..\\x", "--out", out,
                    "--coordsys", "nosuch.dc", kData + "parts.pts"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err,
            "pelixo send: Coordinate system definition file nosuch.dc not found: the job has no "
            "coordinate "
            "system records\n"
            "pelixo send: 2 points written, 1 input line skipped, 0 values cut to 16 "
            "characters\n");
  std::string job = ReadFile(out);
  EXPECT_NE(job.find("\r\n10NM..\\x            121221\r\n69KI"), std::string::npos);
}

// The sample survey through the sample definitions, as the demo sends it.
TEST_F(SendCommandTest, SampleSurvey) {
  std::string samples = PELIXO_SOURCE_DIR "/samples/";
  std::string out = folder_.File("Vejle.DC");
  CommandResult result = RunSend(
      {"--ini", samples + "Formats.ini", "--format", "Comma separated (Name,N,E,H,Code)",
       "--job", "Vejle 2026-12", "--out", out, "--dc-version", "10.7", "--coord-units",
       "meters", "--angle-units", "gons", "--coordsys", samples + "ETRS89_UTM32.dc",
       samples + "vejle_points.csv"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err,
            "pelixo send: 341 points written, 0 input lines skipped, 0 values cut to 16 "
            "characters\n");
  std::string job = ReadFile(out);
  // Header, job, five coordinate-system records (no D4 for 10.7), points.
  EXPECT_EQ(job.substr(40, 8), "213111\r\n");
  EXPECT_NE(job.find("\r\n10NMVejle 2026-12   121221\r\n64KI3"), std::string::npos);
  EXPECT_NE(job.find("\r\n78KI01\r\n81KI2"), std::string::npos);
  EXPECT_EQ(job.find("D4KI"), std::string::npos);
  EXPECT_NE(job.find("DVR90 DKgeoid02\r\n"
                     "69KI          FIX1016174212.384     537905.118      23.716          FS"
                     "              11\r\n"),
            std::string::npos);
  EXPECT_NE(job.find("\r\n69KI             S126174510.337     538330.499                      "
                     "SKEL            11\r\n"),
            std::string::npos);
}

std::string Quoted(const std::string& text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

// The real program, started the way an external program is.
TEST_F(SendCommandTest, TheProgramItself) {
  std::string out = folder_.File("run.DC");
  std::string command = Quoted(Program()) + " send --ini " + Quoted(ini_) +
                        " --format \"Comma points\" --job \"Comma test\" --out " + Quoted(out) +
                        " --dc-version 10.0 --coord-units feet --angle-units degrees --coordsys " +
                        Quoted(kData + "coordsys.dc") + " " + Quoted(kData + "comma.csv");
  platform::Expected<platform::Process> process = platform::Process::Start(command);
  ASSERT_TRUE(process.ok()) << process.error().message();
  EXPECT_EQ(process->WaitForExit(), 0);
  ExpectSameJob(kData + "expected/comma.DC", out);

  // A usage error.
  process = platform::Process::Start(Quoted(Program()) + " send --ini " + Quoted(ini_));
  ASSERT_TRUE(process.ok());
  EXPECT_EQ(process->WaitForExit(), 2);
}

}  // namespace
}  // namespace pelixo
