// Pelixo's side of Syncrona: the registry around the dialog, the job file
// versions, the parameter records of the job readers and the bounds of the
// receive result.
#include "pelixo/app/device_transfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_output.h"
#include "platform/registry.h"
#include "tests/pelixo/app/receive_test_support.h"
#include "tests/support/special_files.h"

namespace pelixo {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;
using testing::RegistryTree;

TEST(JobReaderRecordTest, InputRecordIsPackedAsTheReadersExpect) {
  std::string geodata(259, 'g');
  JobReaderRecord input = MakeInputRecord(1070, geodata);
  const uint8_t head[] = {0x29, 0x01, 7, 0, 0x2E, 0x04, 1, 0};
  EXPECT_EQ(std::memcmp(input.data(), head, sizeof head), 0);
  for (int i = 8; i < 37; ++i) EXPECT_EQ(input[i], 0) << i;
  for (int i = 37; i < 296; ++i) ASSERT_EQ(input[i], 'g') << i;
  EXPECT_EQ(input[296], 0);  // the field keeps one zero at its end

  JobReaderRecord cut = MakeInputRecord(770, std::string(400, 'h'));
  EXPECT_EQ(cut[4], 0x02);
  EXPECT_EQ(cut[5], 0x03);
  EXPECT_EQ(cut[295], 'h');
  EXPECT_EQ(cut[296], 0);
}

TEST(JobReaderRecordTest, OutputRecordVersionFollowsTheJob) {
  const uint8_t head[] = {0x29, 0x01, 23, 0, 3, 0, 2, 0};
  JobReaderRecord output = MakeOutputRecord(1070);
  EXPECT_EQ(std::memcmp(output.data(), head, sizeof head), 0);
  for (int i = 8; i < 297; ++i) ASSERT_EQ(output[i], 0) << i;
  EXPECT_EQ(MakeOutputRecord(1050)[4], 2);
  EXPECT_EQ(MakeOutputRecord(770)[4], 2);
}

TEST(JobReaderRecordTest, LibraryByVersion) {
  EXPECT_NE(JobReaderLibraryName(1070).find("qmxl321070"), std::string::npos);
  EXPECT_NE(JobReaderLibraryName(1050).find("qmxl321050"), std::string::npos);
  EXPECT_NE(JobReaderLibraryName(1000).find("qmxl3210"), std::string::npos);
  EXPECT_NE(JobReaderLibraryName(770).find("qmxl3277"), std::string::npos);
  EXPECT_EQ(JobReaderLibraryName(750), "");
}

class JobVersionTest : public testing::ReceiveWorld {
 protected:
  JobVersion Of(const std::string& bytes) {
    std::string path = root_ + "version.JOB";
    EXPECT_TRUE(platform::WriteWholeFile(path, bytes));
    return ReadJobVersion(path);
  }
  static std::string Signed(int major, int minor) {
    return "Corvane Terrapad Job" + std::string(16, 'x') + std::string(1, char(major)) +
           std::string(1, char(minor)) + "payload";
  }
};

TEST_F(JobVersionTest, BothHeaderLayouts) {
  JobVersion v = Of(Signed(10, 70));
  EXPECT_EQ(v.version, 1070);
  EXPECT_TRUE(v.supported);
  EXPECT_EQ(Of(Signed(10, 50)).version, 1050);
  EXPECT_TRUE(Of(Signed(10, 0)).supported);
  EXPECT_EQ(Of("TJ" + std::string(1, char(7)) + std::string(1, char(70)) +
               std::string(30, 'p')).version, 770);
  EXPECT_FALSE(Of(Signed(7, 50)).supported);
}

TEST_F(JobVersionTest, TruncatedOrForeignFilesAreUnsupported) {
  EXPECT_FALSE(Of(Signed(10, 70).substr(0, 37)).supported);  // minor byte missing
  EXPECT_FALSE(Of("TJ\x0a").supported);                      // shorter than the signature
  EXPECT_FALSE(Of("").supported);
  EXPECT_FALSE(Of(std::string(64, '\xff')).supported);
  EXPECT_FALSE(ReadJobVersion(root_ + "missing.JOB").supported);
  EXPECT_EQ(ReadJobVersion(root_ + "missing.JOB").version, 0);
}

// A folder, FIFO or device as the job is unreadable like a missing job:
// version 0, unsupported (text 20005), and no wait for a writer.
TEST_F(JobVersionTest, NoRegularFileIsAnUnsupportedJob) {
  std::vector<std::string> paths = {root_};
#ifndef _WIN32
  const std::string fifo = root_ + "fifo.JOB";
  ::unlink(fifo.c_str());  // left by an earlier run
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  paths.push_back(fifo);
  paths.push_back(tests_support::kEndlessDevice);
#endif
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
#ifdef _WIN32
    JobVersion v = ReadJobVersion(path);
    EXPECT_FALSE(v.supported);
    EXPECT_EQ(v.version, 0);
#else
    EXPECT_EQ(tests_support::ExitCodeWithin(10, [&path] {
                JobVersion v = ReadJobVersion(path);
                return !v.supported && v.version == 0 ? 0 : 1;
              }),
              0);
#endif
  }
}

TEST(ReceivedFileNamesTest, TakesAtMostCountNames) {
  std::u16string names = u"A.DC";
  names.push_back(0);
  names += u"B.DC";
  names.push_back(0);
  names += u"C.DC";
  names.push_back(0);
  SyncronaReceiveResult result{2, static_cast<uint32_t>(names.size()), names.data()};
  EXPECT_EQ(ReceivedFileNames(result), std::vector<std::string>({"A.DC", "B.DC"}));
  result.count = 5;
  EXPECT_EQ(ReceivedFileNames(result), std::vector<std::string>({"A.DC", "B.DC", "C.DC"}));
  std::u16string empty(1, 0);
  SyncronaReceiveResult blank{1, 1, empty.data()};
  EXPECT_EQ(ReceivedFileNames(blank), std::vector<std::string>({""}));
}

TEST(ReceivedFileNamesTest, NeverReadsPastTheBlock) {
  // Exactly `length` characters on the heap, the last name unterminated:
  // a read at `length` would be caught by the address sanitizer.
  std::unique_ptr<platform::ComChar[]> buffer(new platform::ComChar[6]);
  const char16_t text[] = u"X.DC\0Y";
  std::memcpy(buffer.get(), text, 6 * sizeof(platform::ComChar));
  SyncronaReceiveResult result{2, 6, buffer.get()};
  EXPECT_EQ(ReceivedFileNames(result), std::vector<std::string>({"X.DC"}));

  // Whatever the count and length, no more than 3999 characters.
  std::vector<platform::ComChar> big(5000, u'a');
  big[3998] = 0;
  big[4500] = 0;
  SyncronaReceiveResult huge{1000000, 5000, big.data()};
  std::vector<std::string> names = ReceivedFileNames(huge);
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].size(), 3998u);
  SyncronaReceiveResult none{3, 10, nullptr};
  EXPECT_TRUE(ReceivedFileNames(none).empty());
}

class SyncronaRegistryTest : public testing::ReceiveWorld {
 protected:
  static void SetString(const std::string& key, const std::string& name,
                        const std::string& value) {
    platform::Expected<RegistryKey> k = RegistryKey::Open(RegistryRoot::kCurrentUser, key, true);
    ASSERT_TRUE(k);
    ASSERT_TRUE(k->SetString(name, value));
  }
  static bool Exists(const std::string& family) {
    return RegistryKey::KeyExists(RegistryRoot::kCurrentUser,
                                  std::string(kSyncronaKey) + "\\" + family);
  }
  static std::optional<int32_t> Backup() {
    platform::Expected<RegistryKey> k =
        RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaSettingsKey, true);
    return k ? k->GetInt(kBackupDataFilesValue) : std::nullopt;
  }
  static void SetBackup(int32_t value) {
    platform::Expected<RegistryKey> k =
        RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaSettingsKey, true);
    ASSERT_TRUE(k);
    ASSERT_TRUE(k->SetInt(kBackupDataFilesValue, value));
  }
};

TEST_F(SyncronaRegistryTest, OtherFamiliesAreHiddenAndComeBackWhole) {
  const std::string base = std::string(kSyncronaKey) + "\\";
  SetString(base + "Survey X\\Devices\\Unit 1", "Port", "COM7");
  SetString(base + "Survey X", "Kind", "rover");
  SetString(base + "Tachyra\\Devices", "Port", "COM3");
  SetString(base + "Terrapad\\Devices", "Port", "COM4");
  SetString(base + "Settings", "Language", "en");
  SetString(base + "Old", "Which", "new");
  SetString(base + "_Old", "Which", "old");
  SetString(base + "_Lone", "Which", "left hidden by a crash");
  std::vector<std::string> before = RegistryTree("Software\\Corvane\\Syncrona\\Survey X");

  HideOtherDeviceFamilies();
  EXPECT_FALSE(Exists("Survey X"));
  EXPECT_TRUE(Exists("_Survey X\\Devices\\Unit 1"));
  EXPECT_TRUE(Exists("Old"));  // "_Old" exists already: the move is skipped
  EXPECT_TRUE(Exists("Tachyra") && Exists("Terrapad") && Exists("Settings"));
  EXPECT_FALSE(Exists("__Lone"));

  UnhideDeviceFamilies();
  EXPECT_EQ(RegistryTree("Software\\Corvane\\Syncrona\\Survey X"), before);
  EXPECT_FALSE(Exists("_Survey X"));
  EXPECT_TRUE(Exists("Lone"));
  EXPECT_TRUE(Exists("_Old"));
  EXPECT_EQ(RegistryTree("Software\\Corvane\\Syncrona\\Old"),
            std::vector<std::string>({"Software\\Corvane\\Syncrona\\Old",
                                      "Software\\Corvane\\Syncrona\\Old\\Which=1:110 101 119 0 "}));
}

TEST_F(SyncronaRegistryTest, BackupDataFilesIsForcedAndRestored) {
  EXPECT_EQ(ForceBackupDataFiles().value(), false);  // absent: switched on, not "off"
  EXPECT_EQ(Backup(), 1);
  EXPECT_EQ(ForceBackupDataFiles().value(), false);  // on: unchanged
  SetBackup(0);
  EXPECT_EQ(ForceBackupDataFiles().value(), true);
  EXPECT_EQ(Backup(), 1);
  RestoreBackupDataFiles();
  EXPECT_EQ(Backup(), 0);
}

TEST_F(SyncronaRegistryTest, DefaultDevicesOnlyWhenTheKeyIsMissing) {
  EnsureDefaultDevices();
  platform::Expected<RegistryKey> com2 = RegistryKey::Open(
      RegistryRoot::kCurrentUser, std::string(kTerrapadDevicesKey) + "\\Terrapad on COM2", false);
  ASSERT_TRUE(com2);
  EXPECT_EQ(com2->GetString("Port"), "COM2");
  EXPECT_EQ(com2->GetInt("Timeout"), 10);
  EXPECT_EQ(com2->GetInt("MaxRetries"), 3);
  ASSERT_TRUE(platform::DeleteRegistryTree(std::string(kTerrapadDevicesKey) + "\\Terrapad on COM1"));
  EnsureDefaultDevices();
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser,
                                      std::string(kTerrapadDevicesKey) + "\\Terrapad on COM1"));
}

TEST_F(SyncronaRegistryTest, ConverterSettingsOfTheMachine) {
  std::optional<ConverterSettings> settings = ReadConverterSettings();
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->directory, PELIXO_BIN_DIR);
  EXPECT_EQ(settings->language_file, "english.lng");
  EXPECT_EQ(settings->geodata_directory, "geodata");
}

}  // namespace
}  // namespace pelixo
