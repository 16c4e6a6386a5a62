// The device transfer end to end, through the stand-in selection component
// (registered as a component server) and the stand-in job readers: sends
// into the simulated device, receives of jobs of different versions, the
// clean-up of the temporary directory and Syncrona's settings afterwards.
#include "pelixo/app/receive_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pelixo/app/device_transfer.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/send_driver.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/registry.h"
#include "tests/pelixo/app/receive_test_support.h"

namespace pelixo {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;
using testing::RegistryTree;

constexpr int kCommaOut = 0;  // positions in the download list
constexpr int kFixedOut = 1;

class DeviceTransferTest : public testing::ReceiveWorld {
 protected:
  void SetUp() override {
    ReceiveWorld::SetUp();
    ASSERT_TRUE(definitions_.Load(std::string(testing::kReceiveData) + "Formats.ini"));
    ui_.save_folder = out_;
    driver_.set_temp_directory(temp_);
    driver_.set_program_directory(root_);
  }

  void SetUser(const std::string& key, const std::string& name, int32_t value) {
    platform::Expected<RegistryKey> k = RegistryKey::Open(RegistryRoot::kCurrentUser, key, true);
    ASSERT_TRUE(k);
    ASSERT_TRUE(k->SetInt(name, value));
  }
  std::optional<int32_t> Backup() {
    platform::Expected<RegistryKey> k =
        RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaSettingsKey, false);
    return k ? k->GetInt(kBackupDataFilesValue) : std::nullopt;
  }
  std::string DownloadFile() {
    platform::Expected<RegistryKey> k =
        RegistryKey::Open(RegistryRoot::kCurrentUser, kPelixoRegistryKey, true);
    return k ? k->GetString(kDownloadFileValue).value_or("") : "";
  }
  std::string Out(const std::string& name) {
    return platform::WithTrailingSeparator(out_) + name;
  }
  // Syncrona's tree as a user has it: another device family, the default
  // devices, and the backup setting off.
  void SeedSyncrona() {
    SetUser("Software\\Corvane\\Syncrona\\Survey X\\Devices", "Baud", 9600);
    SetUser(std::string(kTerrapadDevicesKey) + "\\Terrapad on COM1", "Timeout", 10);
    SetUser(kSyncronaSettingsKey, kBackupDataFilesValue, 0);
  }

  testing::RecordingUserInterface ui_;
  TUserTexts texts_;
  TFormatDefinitions definitions_;
  TDeviceTransfer transfer_{ui_, texts_};
  TReceiveDriver driver_{ui_, texts_, definitions_, transfer_};
};

TEST_F(DeviceTransferTest, TwoJobsOfDifferentVersionsAreExportedAndCleanedUp) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, /*is_signed=*/true);
  PutJobOnDevice("JOBB", "job2.dc", "job2_points.txt", 7, 70, /*is_signed=*/false);
  ChooseJobs("JOBA;JOBB");
  SeedSyncrona();
  std::vector<std::string> before = RegistryTree(kSyncronaKey);

  driver_.set_record_counter(41);  // a receive starts counting afresh
  driver_.ReceiveFromDevice(kCommaOut);

  EXPECT_EQ(ui_.errors, std::vector<std::string>());
  EXPECT_EQ(tests_support::ReadFile(Out("JOBA.csv")), Expected("job1_comma.csv"));
  EXPECT_EQ(tests_support::ReadFile(Out("JOBB.csv")), Expected("job2_comma_continued.csv"));
  // Once, for JOBA's measured point M2, which its points file lacks.
  EXPECT_EQ(ui_.messages, std::vector<std::string>(
                              {"1 measured point has no co-ordinates in the points file "
                               "and was not written"}));
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  EXPECT_EQ(RegistryTree(kSyncronaKey), before);
  EXPECT_EQ(DownloadFile(), Out("JOBB.csv"));
  ASSERT_EQ(ui_.save_requests.size(), 2u);
  EXPECT_EQ(ui_.save_requests[0].file_name, "JOBA.csv");
  EXPECT_EQ(ui_.save_requests[0].filter, "Comma separated points|*.csv");
  EXPECT_EQ(ui_.save_requests[0].initial_directory, root_);
  EXPECT_EQ(ui_.wait_cursor, 0);
}

TEST_F(DeviceTransferTest, DebugKeepsTheReceivedFiles) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  driver_.set_debug(true);
  driver_.ReceiveFromDevice(kFixedOut);
  EXPECT_EQ(tests_support::ReadFile(Out("JOBA.txt")), Expected("job1_fixed.txt"));
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>({"JOBA.DC", "JOBA.JOB", "JOBA.tic"}));
  // The points file the job reader wrote from the job file.
  EXPECT_EQ(tests_support::ReadFile(temp_ + "JOBA.tic"),
            "JOB,\"JOBA\",1070\r\nGEODATA,geodata\r\nLANGUAGE,english.lng\r\n"
            "NEZ,\"M1\",\"FENCE\",5000.126,6000.5,70.26,\r\n"
            "NEZ,\"M3\",\"\",-12.5,-3.456,-0.5,\r\n"
            "RTK,\"M1\",\"DUP\",a,b,c,1,2,3,\r\n");
}

TEST_F(DeviceTransferTest, TheDeviceSendsAJobReceivedBefore) {
  // The clean-up also takes a ".DCO" file and extensions in other cases.
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  ASSERT_TRUE(platform::WriteWholeFile(temp_ + "JOBA.dco", "x"));
  ASSERT_TRUE(platform::WriteWholeFile(temp_ + "JOBAX.DC", "other job"));
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>({"JOBAX.DC"}));
}

TEST_F(DeviceTransferTest, BackupSettingIsRestoredAfterAnError) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  PutJobOnDevice("JOBB", "job2.dc", "job2_points.txt", 7, 70, false);
  ChooseJobs("JOBA;JOBB");
  SetUser(kSyncronaSettingsKey, kBackupDataFilesValue, 0);
  tests_support::SetEnvironment("PELIXO_FAIL_WRITES", "JOBA.csv");
  driver_.ReceiveFromDevice(kCommaOut);
  tests_support::ClearEnvironment("PELIXO_FAIL_WRITES");
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("JOBA.csv"), std::string::npos) << ui_.errors[0];
  EXPECT_EQ(Backup(), 0);
  // The error ends the receive: no file written, nothing cleaned up, JOBB
  // not handled.
  EXPECT_EQ(tests_support::FilesIn(out_), std::vector<std::string>());
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>(
                                {"JOBA.DC", "JOBA.JOB", "JOBA.tic", "JOBB.DC", "JOBB.JOB"}));
  EXPECT_EQ(ui_.wait_cursor, 0);
}

// Syncrona's backup setting of another type is not Pelixo's to replace:
// the receive stops before it starts, with the settings as they were.
TEST_F(DeviceTransferTest, BackupSettingOfAnotherTypeStopsTheReceive) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  SeedSyncrona();
  {
    platform::Expected<RegistryKey> k =
        RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaSettingsKey, true);
    ASSERT_TRUE(k);
    ASSERT_TRUE(k->SetString(kBackupDataFilesValue, "1"));
  }
  std::vector<std::string> before = RegistryTree("Software\\Corvane");
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_EQ(ui_.errors, std::vector<std::string>({"Invalid data type for 'Backup Data Files'"}));
  EXPECT_EQ(RegistryTree("Software\\Corvane"), before);
  EXPECT_EQ(tests_support::FilesIn(out_), std::vector<std::string>());
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  EXPECT_TRUE(ui_.save_requests.empty());
}

TEST_F(DeviceTransferTest, AJobOfAnUnknownVersionIsSkipped) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 7, 50, true);
  PutJobOnDevice("JOBB", "job2.dc", "job2_points.txt", 7, 70, false);
  ChooseJobs("JOBA;JOBB");
  SetUser(kSyncronaSettingsKey, kBackupDataFilesValue, 0);
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_EQ(ui_.errors, std::vector<std::string>({"Cannot handle jobs of this version"}));
  EXPECT_EQ(tests_support::FilesIn(out_), std::vector<std::string>({"JOBB.csv"}));
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>({"JOBA.DC", "JOBA.JOB"}));
  EXPECT_EQ(Backup(), 0);
}

TEST_F(DeviceTransferTest, AMissingJobReaderSkipsTheJobQuietly) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  tests_support::SetMachineString(kConverterKey, "Directory", root_ + "no-readers");
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_TRUE(ui_.save_requests.empty());
  ASSERT_EQ(ui_.notes.size(), 1u);
  EXPECT_NE(ui_.notes[0].find("cannot be loaded"), std::string::npos) << ui_.notes[0];
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>({"JOBA.DC", "JOBA.JOB"}));
}

TEST_F(DeviceTransferTest, NothingChosenRestoresTheSetting) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  SetUser(kSyncronaSettingsKey, kBackupDataFilesValue, 0);
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_TRUE(ui_.save_requests.empty());
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(Backup(), 0);
}

TEST_F(DeviceTransferTest, ACancelledSaveStartsNoProgram) {
  // A definition whose external program leaves a job file behind when it
  // runs.
  std::string ini = root_ + "Formats.ini";
  std::string made = root_ + "ran.JOB";
  (void)platform::RemoveFile(made);
  ASSERT_TRUE(platform::WriteWholeFile(
      ini, "[Run]\r\nNAME=Run\r\nSTYLE=COMMA\r\nEXTENSION=csv\r\nFIELD1=NAME,STRING,0,0,LEFT\r\n"
           "EXTERNALPROGRAM=\"" PELIXO_BIN_DIR "/make-job\" \"" +
               std::string(testing::kReceiveData) + "job2_points.txt\" " + made + "\r\n"));
  TFormatDefinitions definitions;
  ASSERT_TRUE(definitions.Load(ini));
  TReceiveDriver driver(ui_, texts_, definitions, transfer_);
  TTICPointhandler points;
  std::string dc = std::string(testing::kReceiveData) + "job2.dc";

  ui_.save_folder.clear();
  driver.ExportDCFile(dc, 0, &points);
  EXPECT_EQ(DownloadFile(), "job2.csv");
  EXPECT_FALSE(platform::FileExists(made));

  ui_.save_folder = out_;
  driver.ExportDCFile(dc, 0, &points);
  EXPECT_EQ(DownloadFile(), Out("job2.csv"));
  EXPECT_EQ(tests_support::ReadFile(Out("job2.csv")), "Q1\r\n");  // R1 has no co-ordinates
  EXPECT_TRUE(platform::FileExists(made));
  EXPECT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.errors, std::vector<std::string>());
}

// A Formats.ini whose sections are all empty: the receive says so before
// Syncrona's backup setting is forced or any job is received.
TEST_F(DeviceTransferTest, NoDefinitionsAtAllAreSaidBeforeTouchingSyncrona) {
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  std::string ini = root_ + "Formats.ini";
  ASSERT_TRUE(platform::WriteWholeFile(ini, "[Comma out]\r\n\r\n[Fixed out]\r\n"));
  TFormatDefinitions none;
  ASSERT_TRUE(none.Load(ini));
  ASSERT_EQ(none.Count(), 0);
  TReceiveDriver driver(ui_, texts_, none, transfer_);
  driver.set_temp_directory(temp_);
  std::vector<std::string> before = RegistryTree(kSyncronaKey);
  driver.ReceiveFromDevice(0);
  EXPECT_EQ(ui_.errors, std::vector<std::string>(
                            {"No file formats specified - Formats.ini file required"}));
  EXPECT_EQ(RegistryTree(kSyncronaKey), before);
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  EXPECT_TRUE(ui_.save_requests.empty());
}

TEST_F(DeviceTransferTest, AnEmptyDCFileEndsTheReceive) {
  ChooseJobs("JOBA");
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ASSERT_TRUE(platform::WriteWholeFile(platform::WithTrailingSeparator(device_) + "JOBA.DC", ""));
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_EQ(ui_.errors, std::vector<std::string>({"List index out of bounds (0)"}));
  EXPECT_TRUE(ui_.save_requests.empty());
}

class DeviceSendTest : public DeviceTransferTest {
 protected:
  SendOutcome Send(const std::string& job_name) {
    TOptionsForm options(texts_);
    EXPECT_TRUE(options.FormShow());
    TSendDriver sender(ui_, texts_, definitions_, options, &transfer_);
    sender.set_temp_directory(temp_);
    ui_.open_file = root_ + "points.txt";
    EXPECT_TRUE(platform::WriteWholeFile(*ui_.open_file, "P1,1000.000,2000.000,50.000,OAK\r\n"));
    SendSelection selection;
    selection.job_name = job_name;
    selection.upload_format_index = 0;
    selection.write_to_dc_file = false;
    return sender.SendAsciiFile(selection);
  }
};

TEST_F(DeviceSendTest, TheJobReachesTheDeviceAndTheTemporaryFileGoes) {
  SeedSyncrona();
  std::vector<std::string> before = RegistryTree(kSyncronaKey);
  EXPECT_EQ(Send("SITE1"), SendOutcome::kDone);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(tests_support::FilesIn(device_), std::vector<std::string>({"SITE1.DC"}));
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  std::string job = tests_support::ReadFile(platform::WithTrailingSeparator(device_) + "SITE1.DC");
  EXPECT_EQ(job.substr(0, 13), "00NMTP V10-70");  // the version the component asked for
  EXPECT_NE(job.find("\r\n10NMSITE1           121221\r\n"), std::string::npos) << job;
  EXPECT_NE(job.find("69KI              P11000.000"), std::string::npos) << job;
  EXPECT_EQ(RegistryTree(kSyncronaKey), before);
}

TEST_F(DeviceSendTest, AJobNameWithPathPartsIsRefused) {
  EXPECT_NE(Send("..\\x"), SendOutcome::kDone);
  EXPECT_EQ(tests_support::FilesIn(device_), std::vector<std::string>());
  EXPECT_EQ(tests_support::FilesIn(temp_), std::vector<std::string>());
  EXPECT_FALSE(platform::FileExists(root_ + "x.DC"));
  EXPECT_EQ(ui_.errors.size(), 1u);
}

#if !defined(_WIN32)
// Natively the component can be taken away without touching other tests.
TEST_F(DeviceTransferTest, AnUnregisteredComponentIsSaidSo) {
  ASSERT_EQ(std::system(PELIXO_BIN_DIR "/posix-regsvr /u /s " PELIXO_BIN_DIR "/libsyncrona.so"),
            0);
  SeedSyncrona();
  std::vector<std::string> before = RegistryTree(kSyncronaKey);
  PutJobOnDevice("JOBA", "job1.dc", "job1_points.txt", 10, 70, true);
  ChooseJobs("JOBA");
  driver_.ReceiveFromDevice(kCommaOut);
  EXPECT_EQ(ui_.messages,
            std::vector<std::string>({"Corvane Syncrona has not been registered correctly."}));
  EXPECT_TRUE(transfer_.component_unavailable());
  EXPECT_EQ(RegistryTree(kSyncronaKey), before);
  EXPECT_EQ(ui_.wait_cursor, 0);
}
#endif

}  // namespace
}  // namespace pelixo
