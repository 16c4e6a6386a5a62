// The stored settings, the options dialog's logic and the shared transfer
// operations over a private registry store.
#include <gtest/gtest.h>

#include "pelixo/app/options_form.h"
#include "pelixo/app/transfer_common.h"
#include "pelixo/app/user_texts.h"
#include "platform/files.h"
#include "platform/path.h"
#include "tests/pelixo/app/send_test_support.h"

namespace pelixo {
namespace {

using send_test::RecordingUserInterface;
using send_test::SendTest;

class SettingsTest : public SendTest {
 protected:
  TUserTexts texts_;
};

TEST_F(SettingsTest, FirstRunDefaults) {
  TOptionsForm form(texts_);
  form.options().coord_units = 2;  // what the controls showed before
  ASSERT_TRUE(form.FormShow().ok());
  EXPECT_EQ(form.options().coord_sys_file, "");
  EXPECT_EQ(form.options().coord_units, kCoordUnitsMeters);
  EXPECT_EQ(form.options().angle_units, kAngleUnitsGons);
  EXPECT_EQ(form.options().dc_file_version, kDCFileVersion107);
  EXPECT_EQ(form.DCVersion(), 1070);
  // The key exists after the first reading.
  EXPECT_TRUE(platform::RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser,
                                               kPelixoRegistryKey));

  MainWindowState state;
  ASSERT_TRUE(LoadMainWindowState(&state).ok());
  EXPECT_FALSE(state.send_file);
  EXPECT_FALSE(state.write_to_dc_file);
  EXPECT_EQ(state.download_format_index, 0);
  EXPECT_EQ(state.upload_format_index, 0);
  EXPECT_FALSE(DebugValuePresent());
}

TEST_F(SettingsTest, DialogListsAndCaptions) {
  TOptionsForm form(texts_);
  ASSERT_TRUE(form.FormShow().ok());
  EXPECT_EQ(form.captions().dialog, "Options (Send File)");
  EXPECT_EQ(form.captions().browse, "Browse...");
  EXPECT_EQ(form.angle_unit_items(), (std::vector<std::string>{"Degrees", "Gons", "Mils"}));
  EXPECT_EQ(form.coord_unit_items(), (std::vector<std::string>{"Meters", "Feet", "US Feet"}));
  EXPECT_EQ(form.dc_version_items(), (std::vector<std::string>{"Version 10.7", "Version 10.0",
                                                               "Version 7.7", "Version 7.5"}));
}

TEST_F(SettingsTest, VersionNumbersOfTheList) {
  EXPECT_EQ(DCVersionFromOptions(0), 1070);
  EXPECT_EQ(DCVersionFromOptions(1), 1000);
  EXPECT_EQ(DCVersionFromOptions(2), 770);
  EXPECT_EQ(DCVersionFromOptions(3), 750);
  EXPECT_EQ(DCVersionFromOptions(-1), 1000);
  EXPECT_EQ(DCVersionFromOptions(4), 1000);
}

TEST_F(SettingsTest, OkStoresCancelRestores) {
  RecordingUserInterface ui;
  TOptionsForm form(texts_);
  ASSERT_TRUE(form.FormShow().ok());
  form.options().coord_sys_file = "C:\\sys\\ks34.dc";
  form.options().coord_units = kCoordUnitsUsFeet;
  form.options().angle_units = kNoSelection;
  form.options().dc_file_version = kDCFileVersion75;
  form.OKBtnClick();
  EXPECT_EQ(form.modal_result(), DialogResult::kOk);
  platform::RegistryKey key = PelixoKey();
  EXPECT_EQ(key.GetString(kCoordSysFileValue), "C:\\sys\\ks34.dc");
  EXPECT_EQ(key.GetInt(kCoordUnitsValue), 2);
  EXPECT_EQ(key.GetInt(kAngleUnitsValue), -1);
  EXPECT_EQ(key.GetInt(kDCFileVersionValue), 3);

  // Edits, a file chosen with Browse, then Cancel: the stored values again.
  ui.set_open_file("/elsewhere/other.dc");
  form.BrowseBtnClick(ui);
  ASSERT_EQ(ui.open_requests.size(), 1u);
  EXPECT_EQ(ui.open_requests[0].filter, "Any File|*.*");
  EXPECT_EQ(form.options().coord_sys_file, "/elsewhere/other.dc");
  form.options().dc_file_version = kDCFileVersion100;
  ASSERT_TRUE(form.CancelBtnClick().ok());
  EXPECT_EQ(form.modal_result(), DialogResult::kCancel);
  EXPECT_EQ(form.options().coord_sys_file, "C:\\sys\\ks34.dc");
  EXPECT_EQ(form.options().dc_file_version, kDCFileVersion75);
  EXPECT_EQ(form.options().angle_units, kNoSelection);
  EXPECT_EQ(PelixoKey().GetString(kCoordSysFileValue), "C:\\sys\\ks34.dc");

  // A cancelled Browse changes nothing.
  ui.set_open_file(std::nullopt);
  form.BrowseBtnClick(ui);
  EXPECT_EQ(form.options().coord_sys_file, "C:\\sys\\ks34.dc");
}

TEST_F(SettingsTest, StoredPositionOutsideItsListMeansNoSelection) {
  platform::RegistryKey key = PelixoKey();
  ASSERT_TRUE(key.SetInt(kDCFileVersionValue, 7).ok());
  ASSERT_TRUE(key.SetInt(kCoordUnitsValue, 3).ok());
  ASSERT_TRUE(key.SetInt(kAngleUnitsValue, -5).ok());
  TOptionsForm form(texts_);
  ASSERT_TRUE(form.LoadOptions().ok());
  EXPECT_EQ(form.options().dc_file_version, kNoSelection);
  EXPECT_EQ(form.DCVersion(), 1000);
  EXPECT_EQ(form.options().coord_units, kNoSelection);
  EXPECT_EQ(form.options().angle_units, kNoSelection);
}

TEST_F(SettingsTest, WrongTypeEndsTheLoadingStep) {
  platform::RegistryKey key = PelixoKey();
  ASSERT_TRUE(key.SetString(kCoordSysFileValue, "ks34.dc").ok());
  ASSERT_TRUE(key.SetInt(kCoordUnitsValue, 1).ok());
  ASSERT_TRUE(key.SetString(kAngleUnitsValue, "2").ok());
  ASSERT_TRUE(key.SetInt(kDCFileVersionValue, 3).ok());
  TOptionsForm form(texts_);
  form.options().angle_units = kAngleUnitsDegrees;
  platform::Status status = form.LoadOptions();
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Invalid data type for 'AngleUnits'");
  EXPECT_EQ(form.options().coord_sys_file, "ks34.dc");
  EXPECT_EQ(form.options().coord_units, kCoordUnitsFeet);
  EXPECT_EQ(form.options().angle_units, kAngleUnitsDegrees);   // as it was
  EXPECT_EQ(form.options().dc_file_version, kDCFileVersion107);  // not reached

  ASSERT_TRUE(key.SetInt(kCoordSysFileValue, 5).ok());
  status = form.LoadOptions();
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Invalid data type for 'CoordSysFile'");

  ASSERT_TRUE(key.SetString(kSendFileValue, "yes").ok());
  MainWindowState state;
  state.write_to_dc_file = true;
  status = LoadMainWindowState(&state);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Invalid data type for 'SendFile'");
}

TEST_F(SettingsTest, MainWindowStateAndDebug) {
  MainWindowState state;
  state.write_to_dc_file = true;
  state.send_file = true;
  state.download_format_index = 4;
  state.upload_format_index = -1;
  StoreMainWindowState(state);
  platform::RegistryKey key = PelixoKey();
  EXPECT_EQ(key.GetInt(kWriteToDCFileValue), 1);
  ASSERT_TRUE(key.SetInt(kSendFileValue, 7).ok());  // any value but 0 is true
  MainWindowState read;
  ASSERT_TRUE(LoadMainWindowState(&read).ok());
  EXPECT_TRUE(read.write_to_dc_file);
  EXPECT_TRUE(read.send_file);
  EXPECT_EQ(read.download_format_index, 4);
  EXPECT_EQ(read.upload_format_index, -1);

  ASSERT_TRUE(key.SetInt(kDebugValue, 0).ok());
  EXPECT_TRUE(DebugValuePresent());
  ASSERT_TRUE(key.DeleteValue(kDebugValue).ok());
  platform::RegistryValue binary;
  binary.type = platform::RegistryType::kBinary;
  ASSERT_TRUE(key.SetValue(kDebugValue, binary).ok());
  EXPECT_TRUE(DebugValuePresent());
}

TEST_F(SettingsTest, TransferFileNamesAndDefinitionIndex) {
  ASSERT_TRUE(StoreTransferFileName(kUploadFileValue, "C:\\data\\points.csv"));
  ASSERT_TRUE(StoreTransferFileName(kDownloadFileValue, "export.txt", HandOver::kAsGiven));
  EXPECT_EQ(StoredString(kUploadFileValue), "C:\\data\\points.csv");
  EXPECT_EQ(StoredString(kDownloadFileValue), "export.txt");
  // A chosen file is handed over by its full path.
  ASSERT_TRUE(StoreTransferFileName(kDownloadFileValue, "export.txt"));
  EXPECT_EQ(StoredString(kDownloadFileValue), platform::AbsolutePath("export.txt"));
  EXPECT_NE(StoredString(kDownloadFileValue), "export.txt");

  TFormatDefinitions definitions;
  ASSERT_TRUE(definitions.Load(send_test::kData + "Formats.ini"));
  // Export (download), then the upload definitions Comma, Fixed, Parts, ...
  EXPECT_EQ(DefinitionIndex(definitions, true, 0), 1);
  EXPECT_EQ(DefinitionIndex(definitions, true, 2), 3);
  EXPECT_EQ(DefinitionIndex(definitions, false, 0), 0);
  EXPECT_EQ(DefinitionIndex(definitions, true, -1), 0);
  EXPECT_EQ(DefinitionIndex(definitions, true, 99), 0);
  EXPECT_EQ(DefinitionIndex(definitions, false, 1), 0);

  std::string temp = GetTempDirectory();
  ASSERT_FALSE(temp.empty());
  EXPECT_TRUE(platform::IsPathSeparator(temp.back()));
}

}  // namespace
}  // namespace pelixo
