// The send path from the button to the DC file, through a recording user
// interface: sample files through the test definitions, compared with jobs
// written out by hand from the record layouts.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "pelixo/app/device_sender.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/send_driver.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text.h"
#include "platform/files.h"
#include "tests/pelixo/app/send_test_support.h"

namespace pelixo {
namespace {

using send_test::ExpectSameJob;
using send_test::kData;
using send_test::ReadFile;
using send_test::RecordingUserInterface;
using send_test::SendTest;
using send_test::SetEnvironment;
using send_test::WriteFile;

// Upload positions of tests/data/send/Formats.ini.
constexpr int kComma = 0, kFixed = 1, kParts = 2, kBare = 3, kLocale = 4;

std::string HelperProgram() {
#ifdef _WIN32
  std::string path = PELIXO_BIN_DIR "/send_helper.exe";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
#else
  return PELIXO_BIN_DIR "/send_helper";
#endif
}

// A device component that asks for the file the way the real one does.
class FakeDevice : public DeviceSender {
 public:
  bool SendJobToDevice(const std::string& job_name, SaveAsHandler& callback) override {
    job_names.push_back(job_name);
    for (int i = 0; i < calls; ++i) {
      std::string path;
      statuses.push_back(callback.SaveAs("ignored", 7, dc_version, &path));
      paths.push_back(path);
      contents.push_back(ReadFile(path));
    }
    return succeed;
  }
  int calls = 1;
  int dc_version = 770;
  bool succeed = true;
  std::vector<std::string> job_names, paths, contents;
  std::vector<int32_t> statuses;
};

class SendDriverTest : public SendTest {
 protected:
  void SetUp() override {
    SendTest::SetUp();
    ASSERT_TRUE(definitions_.Load(kData + "Formats.ini"));
  }

  // One send of `input` to `out` (both may be unset: the dialog is
  // cancelled).
  SendOutcome Send(const std::string& job, int format, std::optional<std::string> input,
                   std::optional<std::string> out, bool to_dc_file = true) {
    ui_.set_open_file(std::move(input));
    ui_.set_save_file(std::move(out));
    driver_.set_temp_directory(folder_.path());
    driver_.set_program_directory(kData);
    SendSelection selection;
    selection.job_name = job;
    selection.upload_format_index = format;
    selection.write_to_dc_file = to_dc_file;
    return driver_.SendAsciiFile(selection);
  }

  // Points written, lines skipped and values cut of the last send.
  std::tuple<size_t, size_t, size_t> Counts() const {
    return {driver_.counts().points_written, driver_.counts().lines_skipped,
            driver_.counts().values_cut};
  }

  // The records of a written job, each without its CR LF.
  static std::vector<std::string> JobLines(const std::string& path) {
    std::string text = ReadFile(path);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
    return lines;
  }

  void SetOptions(int version, int angle, int coord, std::string coordsys) {
    options_.options().dc_file_version = version;
    options_.options().angle_units = angle;
    options_.options().coord_units = coord;
    options_.options().coord_sys_file = std::move(coordsys);
  }

  TUserTexts texts_;
  TFormatDefinitions definitions_;
  TOptionsForm options_{texts_};
  RecordingUserInterface ui_;
  FakeDevice device_;
  TSendDriver driver_{ui_, texts_, definitions_, options_, &device_};
};

TEST_F(SendDriverTest, CommaSeparatedFileToDCFile) {
  SetOptions(kDCFileVersion100, kAngleUnitsDegrees, kCoordUnitsFeet, kData + "coordsys.dc");
  std::string out = folder_.File("comma.DC");
  ASSERT_EQ(Send("Comma test", kComma, kData + "comma.csv", out), SendOutcome::kDone);
  EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
  EXPECT_TRUE(ui_.messages.empty());
  ExpectSameJob(kData + "expected/comma.DC", out);
  EXPECT_EQ(Counts(), std::make_tuple(7u, 1u, 2u));

  ASSERT_EQ(ui_.open_requests.size(), 1u);
  EXPECT_EQ(ui_.open_requests[0].filter, "Comma separated points|*.csv");
  EXPECT_EQ(ui_.open_requests[0].title, "Comma separated points");
  EXPECT_EQ(ui_.open_requests[0].default_extension, "csv");
  ASSERT_EQ(ui_.save_requests.size(), 1u);
  EXPECT_EQ(ui_.save_requests[0].file_name, "Comma test.DC");
  EXPECT_EQ(ui_.save_requests[0].default_extension, "DC");
  EXPECT_EQ(ui_.save_requests[0].filter, "Terrapad DC Files|*.DC");
  EXPECT_EQ(ui_.save_requests[0].title, "Save DC Format File");
  EXPECT_EQ(ui_.cursor_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(StoredString(kUploadFileValue), kData + "comma.csv");
  EXPECT_EQ(ui_.disabled_count, 0);
}

TEST_F(SendDriverTest, FixedColumnsWithPadCharactersAndImpliedDecimals) {
  SetOptions(kDCFileVersion75, kAngleUnitsMils, kCoordUnitsUsFeet, kData + "coordsys.dc");
  std::string out = folder_.File("fixed.DC");
  ASSERT_EQ(Send("Fixed columns 20 ch", kFixed, kData + "fixed.txt", out), SendOutcome::kDone);
  ExpectSameJob(kData + "expected/fixed.DC", out);
  EXPECT_EQ(Counts(), std::make_tuple(3u, 4u, 1u));  // the value cut: the job name
}

TEST_F(SendDriverTest, NamePartsNewlineAndDroppedValues) {
  SetOptions(kDCFileVersion107, kAngleUnitsGons, kCoordUnitsMeters, "");
  std::string out = folder_.File("parts.DC");
  ASSERT_EQ(Send("Parts", kParts, kData + "parts.pts", out), SendOutcome::kDone);
  ExpectSameJob(kData + "expected/parts.DC", out);
  EXPECT_EQ(driver_.counts().points_written, 2u);
  EXPECT_EQ(driver_.counts().lines_skipped, 1u);  // NEWLINE on the last line
  EXPECT_TRUE(ui_.messages.empty());  // no coordinate system named: silent
}

TEST_F(SendDriverTest, DefinitionWithoutFieldsAndNoUnitsSelected) {
  SetOptions(kDCFileVersion77, kNoSelection, kNoSelection, kData + "coordsys.dc");
  std::string out = folder_.File("bare.DC");
  // A job name of blanks only is accepted.
  ASSERT_EQ(Send("   ", kBare, kData + "bare.txt", out), SendOutcome::kDone);
  ExpectSameJob(kData + "expected/bare.DC", out);
  EXPECT_EQ(ui_.save_requests[0].file_name, "   .DC");
  EXPECT_EQ(driver_.counts().lines_skipped, 2u);
}

TEST_F(SendDriverTest, LocaleDecimalSeparator) {
  SetOptions(kDCFileVersion100, kAngleUnitsGons, kCoordUnitsMeters, "");
  SetEnvironment("PELIXO_DECIMAL_SEPARATOR", ",");
  ASSERT_EQ(Send("Locale", kLocale, kData + "locale.txt", folder_.File("comma.DC")), SendOutcome::kDone);
  ExpectSameJob(kData + "expected/locale_comma.DC", folder_.File("comma.DC"));
  SetEnvironment("PELIXO_DECIMAL_SEPARATOR", ".");
  ASSERT_EQ(Send("Locale", kLocale, kData + "locale.txt", folder_.File("point.DC")), SendOutcome::kDone);
  ExpectSameJob(kData + "expected/locale_point.DC", folder_.File("point.DC"));
}

TEST_F(SendDriverTest, HeaderCarriesTheTimeOfWriting) {
  SetOptions(kDCFileVersion107, kAngleUnitsGons, kCoordUnitsMeters, "");
  driver_.set_clock([] { return platform::LocalTime{2026, 12, 7, 3, 48, 0}; });
  ASSERT_EQ(Send("Parts", kParts, kData + "parts.pts", folder_.File("p.DC")), SendOutcome::kDone);
  std::string month = platform::LocaleShortMonthName(12).substr(0, 3);
  EXPECT_EQ(SplitLines(driver_.output_lines().text())[0], "00NMTP V10-70       000007-" + month + "-26 03:48 213111");
}

TEST_F(SendDriverTest, NoUploadDefinitionSelectedTakesTheFirstOfTheFile) {
  WriteFile(folder_.File("names.txt"), "P1,TREE\r\nP2,MH\r\n");
  ASSERT_EQ(Send("First", kNoSelection, folder_.File("names.txt"), folder_.File("first.DC")),
            SendOutcome::kDone);
  EXPECT_EQ(ui_.open_requests[0].filter, "Export|*.txt");
  std::vector<std::string> lines = JobLines(folder_.File("first.DC"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2],
            "69KI              P1" + std::string(64, ' ').replace(48, 4, "TREE") + "11");
}

TEST_F(SendDriverTest, OnlyHeaderAndFooterLinesGiveAJobWithoutPoints) {
  SetOptions(kDCFileVersion100, kAngleUnitsGons, kCoordUnitsMeters, kData + "coordsys.dc");
  WriteFile(folder_.File("empty.csv"), "Punkt,Nord,Oest,Kote,Kode\r\nend\r\n");
  ASSERT_EQ(Send("Empty", kComma, folder_.File("empty.csv"), folder_.File("e.DC")), SendOutcome::kDone);
  std::vector<std::string> lines = JobLines(folder_.File("e.DC"));
  ASSERT_EQ(lines.size(), 2u + 11u);
  EXPECT_EQ(lines[1], "10NMEmpty           121221");
  EXPECT_EQ(lines.back().substr(0, 2), "50");
}

// A file large enough to be converted in blocks on two threads: every point
// comes out once, in the order of the file, and the counts of all blocks add
// up.
TEST_F(SendDriverTest, LargeFileKeepsItsOrderAndCounts) {
  SetOptions(kDCFileVersion100, kAngleUnitsGons, kCoordUnitsMeters, "");
  constexpr int kLines = 250001;
  std::string text = "Punkt,Nord,Oest,Kote,Kode\r\n";
  std::vector<std::string> names;
  size_t blank = 0, long_names = 0;
  for (int i = 0; i < kLines; ++i) {
    // No point, also on both sides of where blocks meet and at the end.
    if (i % 997 == 0 || i == 32767 || i == 65536 || i == kLines - 1) {
      text += "\r\n";
      ++blank;
      continue;
    }
    std::string name = "P";
    name += std::to_string(i);
    if (i % 1009 == 0) {
      name += "-with-a-long-name";
      ++long_names;
    }
    names.push_back(name);
    text += name + "," + std::to_string(i) + ".5,7,1.25,K\r\n";
  }
  text += "end\r\n";
  WriteFile(folder_.File("large.csv"), text);
  ASSERT_EQ(Send("Large", kComma, folder_.File("large.csv"), folder_.File("large.DC")),
            SendOutcome::kDone);
  EXPECT_EQ(Counts(), std::make_tuple(names.size(), blank, long_names));

  std::vector<std::string> records;
  for (std::string& line : JobLines(folder_.File("large.DC"))) {
    if (line.substr(0, 4) == "69KI") records.push_back(std::move(line));
  }
  ASSERT_EQ(records.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    std::string name = names[i].substr(0, 16);
    ASSERT_EQ(records[i].substr(4, 16), std::string(16 - name.size(), ' ') + name) << i;
    std::string northing = names[i].substr(1, names[i].find('-') - 1) + ".500";
    ASSERT_EQ(records[i].substr(20, northing.size()), northing) << i;
  }
  // The job's other records first, then only points, each line with CR LF.
  std::string job = ReadFile(folder_.File("large.DC"));
  EXPECT_EQ(job.substr(0, driver_.output_lines().text().size()), driver_.output_lines().text());
  EXPECT_EQ(job.size(), driver_.output_lines().text().size() + records.size() * 88);
  EXPECT_EQ(job.substr(job.size() - 2), "\r\n");
}

TEST_F(SendDriverTest, RefusalsAndCancellations) {
  // Empty job name: error, focus to the job name, nothing asked or stored.
  EXPECT_EQ(Send("", kComma, kData + "comma.csv", folder_.File("x.DC")), SendOutcome::kFailed);
  EXPECT_EQ(ui_.errors, (std::vector<std::string>{"A job name must be specified for the converted data"}));
  EXPECT_EQ(ui_.focus_count, 1);
  EXPECT_TRUE(ui_.open_requests.empty());
  EXPECT_FALSE(StoredString(kUploadFileValue));

  // The open dialog cancelled: nothing at all.
  ui_.errors.clear();
  EXPECT_EQ(Send("Job", kComma, std::nullopt, folder_.File("x.DC")), SendOutcome::kCancelled);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_FALSE(StoredString(kUploadFileValue));

  // The save dialog cancelled: nothing written, nothing shown.
  EXPECT_EQ(Send("Job", kComma, kData + "comma.csv", std::nullopt), SendOutcome::kCancelled);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_FALSE(platform::FileExists(folder_.File("x.DC")));

  // An empty file.
  WriteFile(folder_.File("nothing.csv"), "");
  EXPECT_EQ(Send("Job", kComma, folder_.File("nothing.csv"), folder_.File("x.DC")), SendOutcome::kFailed);
  EXPECT_EQ(ui_.errors, (std::vector<std::string>{"Specified ASCII file does not contain any data"}));
  EXPECT_EQ(ui_.save_requests.size(), 1u);  // only the earlier send's
  EXPECT_EQ(StoredString(kUploadFileValue), folder_.File("nothing.csv"));

  // A file that cannot be read: the error names it.
  ui_.errors.clear();
  EXPECT_EQ(Send("Job", kComma, folder_.File("missing.csv"), folder_.File("x.DC")), SendOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("missing.csv"), std::string::npos) << ui_.errors[0];
  EXPECT_FALSE(platform::FileExists(folder_.File("x.DC")));
}

TEST_F(SendDriverTest, FailedWriteLeavesTheOldFile) {
  std::string out = folder_.File("kept.DC");
  WriteFile(out, "the job that was there\r\n");
  SetEnvironment("PELIXO_FAIL_WRITES", "kept.DC");
  EXPECT_EQ(Send("Job", kComma, kData + "comma.csv", out), SendOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("kept.DC"), std::string::npos) << ui_.errors[0];
  EXPECT_EQ(ReadFile(out), "the job that was there\r\n");
  // Nothing half-written beside it.
  std::vector<platform::FileEntry> entries = platform::FindFiles(folder_.path(), "*");
  for (const platform::FileEntry& entry : entries) {
    EXPECT_TRUE(entry.name == "kept.DC" || entry.name == "registry.reg" ||
                entry.name.rfind("registry.reg", 0) == 0 || entry.name == "." || entry.name == "..")
        << entry.name;
  }
  // An existing file is replaced by a complete job otherwise.
  send_test::ClearEnvironment("PELIXO_FAIL_WRITES");
  ui_.errors.clear();
  SetOptions(kDCFileVersion100, kAngleUnitsDegrees, kCoordUnitsFeet, kData + "coordsys.dc");
  EXPECT_EQ(Send("Comma test", kComma, kData + "comma.csv", out), SendOutcome::kDone);
  ExpectSameJob(kData + "expected/comma.DC", out);
}

TEST_F(SendDriverTest, NamedButMissingCoordinateSystemFileIsTold) {
  SetOptions(kDCFileVersion107, kAngleUnitsGons, kCoordUnitsMeters, "nosuch.dc");
  EXPECT_EQ(Send("Job", kParts, kData + "parts.pts", folder_.File("m.DC")), SendOutcome::kDone);
  EXPECT_EQ(ui_.messages, (std::vector<std::string>{
                              "Coordinate system definition file nosuch.dc not found: the job "
                              "has no coordinate system records"}));
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(JobLines(folder_.File("m.DC")).size(), 4u);  // header, job, two points
}

TEST_F(SendDriverTest, DCFileDestinationKeepsEveryJobName) {
  std::string out = folder_.File("odd.DC");
  EXPECT_EQ(Send("..\\x", kParts, kData + "parts.pts", out), SendOutcome::kDone);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(ui_.save_requests[0].file_name, "..\\x.DC");
  EXPECT_EQ(SplitLines(driver_.output_lines().text())[1], "10NM..\\x            121221");
  EXPECT_EQ(Send("Site.2", kParts, kData + "parts.pts", out), SendOutcome::kDone);
  EXPECT_EQ(ui_.save_requests[1].file_name, "Site.DC");
  EXPECT_EQ(Send("CON", kParts, kData + "parts.pts", out), SendOutcome::kDone);
}

TEST_F(SendDriverTest, DeviceDestinationRefusesNamesThatAreNoFileNames) {
  for (const char* name : {"..\\x", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
                           "tab\there", "CON", "con", "Prn.txt", "aux", "NUL.DC", "COM1",
                           "com9.x.y", "LPT1", "lpt9", "CON ", "COM1 .A", "nul  .txt",
                           "Lpt3   "}) {
    ui_.errors.clear();
    ui_.open_requests.clear();
    EXPECT_EQ(Send(name, kParts, kData + "parts.pts", std::nullopt, false), SendOutcome::kFailed)
        << name;
    EXPECT_EQ(ui_.errors, (std::vector<std::string>{std::string("The job name ") + name +
                                                    " cannot be used as a file name"}));
    EXPECT_TRUE(ui_.open_requests.empty()) << name;
  }
  EXPECT_TRUE(device_.job_names.empty());
  EXPECT_FALSE(StoredString(kUploadFileValue));
  for (const char* name : {"COM0", "COM10", "CONSOLE", "NULL", "LPT", "   ", "a.CON", "Site 7",
                           "CO N", "COM 1"}) {
    EXPECT_TRUE(IsJobNameUsableAsFileName(name)) << name;
  }
}

TEST_F(SendDriverTest, DeviceSendWritesTheTemporaryJobAndDeletesIt) {
  SetOptions(kDCFileVersion107, kAngleUnitsGons, kCoordUnitsMeters, kData + "coordsys.dc");
  device_.dc_version = 770;  // the device's wish, not the options'
  device_.calls = 2;
  EXPECT_EQ(Send("Site 7", kParts, kData + "parts.pts", std::nullopt, false), SendOutcome::kDone);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(device_.job_names, (std::vector<std::string>{"Site 7"}));
  std::string temp = folder_.File("Site 7.DC");
  ASSERT_EQ(device_.paths.size(), 2u);
  EXPECT_EQ(device_.paths[0], temp);
  EXPECT_EQ(device_.statuses, (std::vector<int32_t>{0, 0}));
  // Version 7.7 with the coordinate system, once per file however often asked.
  std::string job = device_.contents[1];
  EXPECT_EQ(job.substr(0, 13), "00NMTP V07-70");
  EXPECT_NE(job.find("\r\nD4KI31"), std::string::npos);
  EXPECT_EQ(job.find("\r\n78KI"), std::string::npos);
  EXPECT_EQ(job.find("00NM", 1), std::string::npos);
  EXPECT_EQ(device_.contents[0], device_.contents[1]);
  EXPECT_FALSE(platform::FileExists(temp));  // deleted after the send
  EXPECT_TRUE(ui_.save_requests.empty());
}

TEST_F(SendDriverTest, FailedDeviceSendLeavesTheTemporaryJob) {
  device_.succeed = false;
  EXPECT_EQ(Send("Kept", kParts, kData + "parts.pts", std::nullopt, false), SendOutcome::kFailed);
  EXPECT_TRUE(ui_.errors.empty());  // the component told the user
  EXPECT_TRUE(platform::FileExists(folder_.File("Kept.DC")));

  // A temporary file that cannot be written fails the callback and is told.
  device_.succeed = true;
  SetEnvironment("PELIXO_FAIL_WRITES", "Unwritable");
  EXPECT_EQ(Send("Unwritable", kParts, kData + "parts.pts", std::nullopt, false),
            SendOutcome::kFailed);
  EXPECT_EQ(device_.statuses.back(), kSaveAsFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("Unwritable.DC"), std::string::npos);
}

TEST_F(SendDriverTest, NoDeviceComponent) {
  TSendDriver driver(ui_, texts_, definitions_, options_, nullptr);
  ui_.set_open_file(kData + "parts.pts");
  SendSelection selection;
  selection.job_name = "Job";
  selection.write_to_dc_file = false;
  EXPECT_EQ(driver.SendAsciiFile(selection), SendOutcome::kFailed);
  EXPECT_EQ(ui_.messages,
            (std::vector<std::string>{"Corvane Syncrona has not been registered correctly."}));
}

TEST_F(SendDriverTest, NoDefinitionsIsToldBeforeAnythingIsAsked) {
  TFormatDefinitions none;
  TSendDriver driver(ui_, texts_, none, options_, &device_);
  ui_.set_open_file(kData + "parts.pts");
  ui_.set_save_file(folder_.File("n.DC"));
  SendSelection selection;
  selection.job_name = "Job";
  EXPECT_EQ(driver.SendAsciiFile(selection), SendOutcome::kFailed);
  EXPECT_EQ(ui_.errors,
            (std::vector<std::string>{"No file formats specified - Formats.ini file required"}));
  EXPECT_TRUE(ui_.open_requests.empty());
  EXPECT_FALSE(platform::FileExists(folder_.File("n.DC")));
}

class ExternalProgramTest : public SendDriverTest {
 protected:
  // A Formats.ini of one comma definition with `program` as its external
  // program.
  void LoadDefinition(const std::string& program) {
    std::string ini = "[Convert]\r\nNAME=Converted\r\nDIRECTION=Upload\r\nSTYLE=COMMA\r\n"
                      "EXTENSION=kor\r\nEXTERNALPROGRAM=" + program + "\r\n"
                      "FIELD1=NAME,STRING,0,0,LEFT\r\nFIELD2=NORTHING,REAL,0,2,RIGHT\r\n"
                      "FIELD3=EASTING,REAL,0,2,RIGHT\r\nFIELD4=CODE,STRING,0,0,LEFT\r\n";
    WriteFile(folder_.File("Formats.ini"), ini);
    definitions_ = TFormatDefinitions();
    ASSERT_TRUE(definitions_.Load(folder_.File("Formats.ini")));
  }
};

TEST_F(ExternalProgramTest, ConverterRunsAndIsWaitedFor) {
  LoadDefinition(HelperProgram() + " convert \"two words\" last");
  WriteFile(folder_.File("points.kor"), "K1;6170000.5;720000.25;SKEL\r\nK2;6170001;720001;FS\r\n");
  ASSERT_EQ(Send("Converted", 0, folder_.File("points.kor"), folder_.File("c.DC")), SendOutcome::kDone)
      << (ui_.errors.empty() ? "" : ui_.errors[0]);
  // The points come from the converted file, so the send waited for it.
  std::vector<std::string> lines = JobLines(folder_.File("c.DC"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2],
            "69KI" + std::string(14, ' ') + "K1" + "6170000.50" + std::string(6, ' ') +
                "720000.25" + std::string(7 + 16, ' ') + "SKEL" + std::string(12, ' ') + "11");
  EXPECT_EQ(ReadFile(folder_.File("points.kor.args")), "two words\nlast\n");
  EXPECT_EQ(ui_.disabled_count, 1);
  EXPECT_TRUE(ui_.IsMainWindowEnabled());
}

TEST_F(ExternalProgramTest, FailingConverterStopsTheSend) {
  std::string program = HelperProgram() + " fail 3";
  LoadDefinition(program);
  WriteFile(folder_.File("points.kor"), "K1;1;2;X\r\n");
  EXPECT_EQ(Send("Job", 0, folder_.File("points.kor"), folder_.File("f.DC")), SendOutcome::kFailed);
  EXPECT_EQ(ui_.errors, (std::vector<std::string>{program + " ended with exit code 3"}));
  EXPECT_TRUE(ui_.save_requests.empty());
  EXPECT_FALSE(platform::FileExists(folder_.File("f.DC")));
  EXPECT_EQ(StoredString(kUploadFileValue), folder_.File("points.kor"));
  EXPECT_TRUE(ui_.IsMainWindowEnabled());
}

#ifndef _WIN32  // a store file of the posix build
// A converter started on an UploadFile that could not be stored would
// convert the last send's file: the send stops before it, the store as it
// was.
TEST_F(ExternalProgramTest, UploadFileThatCannotBeStoredStopsTheSend) {
  LoadDefinition(HelperProgram() + " convert x");
  WriteFile(folder_.File("points.kor"), "K1;1;2;X\r\n");
  const std::string store = folder_.File("registry.reg");
  const std::string bad = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=nonsense\n";
  WriteFile(store, bad);
  EXPECT_EQ(Send("Job", 0, folder_.File("points.kor"), folder_.File("f.DC")), SendOutcome::kFailed);
  EXPECT_EQ(ui_.errors, (std::vector<std::string>{"Cannot store UploadFile in the settings: "
                                                  "Registry store " + store +
                                                  " line 4: unreadable value"}));
  EXPECT_EQ(ReadFile(store), bad);

  // A store that cannot be written (a full disk) stops it the same way.
  std::remove(store.c_str());
  ui_.errors.clear();
  SetEnvironment("PELIXO_FAIL_WRITES", "registry.reg");
  EXPECT_EQ(Send("Job", 0, folder_.File("points.kor"), folder_.File("f.DC")), SendOutcome::kFailed);
  SetEnvironment("PELIXO_FAIL_WRITES", "");
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_EQ(ui_.errors[0].rfind("Cannot store UploadFile in the settings: ", 0), 0u)
      << ui_.errors[0];
  EXPECT_FALSE(platform::FileExists(folder_.File("points.kor.args")));
  EXPECT_FALSE(platform::FileExists(folder_.File("f.DC")));
  EXPECT_EQ(ReadFile(folder_.File("points.kor")), "K1;1;2;X\r\n");
}
#endif

TEST_F(ExternalProgramTest, MissingProgramStopsTheSend) {
  std::string program = folder_.File("no-such-program");
  LoadDefinition(program + " -UP");
  WriteFile(folder_.File("points.kor"), "K1;1;2;X\r\n");
  EXPECT_EQ(Send("Job", 0, folder_.File("points.kor"), folder_.File("f.DC")), SendOutcome::kFailed);
  EXPECT_EQ(ui_.errors, (std::vector<std::string>{"Error running " + program + " -UP"}));
  EXPECT_EQ(StoredString(kUploadFileValue), folder_.File("points.kor"));
  EXPECT_EQ(ui_.disabled_count, 0);
}

}  // namespace
}  // namespace pelixo
