#include "pelixo/app/options_form.h"

#include <cstdint>

#include "pelixo/app/user_interface.h"
#include "platform/registry.h"

namespace pelixo {
namespace {

using platform::RegistryKey;
using platform::RegistryType;
using platform::Status;

platform::Error InvalidDataType(const char* name) {
  return platform::Error(std::string("Invalid data type for '") + name + "'");
}

// Reads settings with `read` from Pelixo's key. A store that cannot be
// read at all is told once (the defaults stay); any other key that cannot
// be opened is passed over in silence, as it always was.
template <typename Read>
Status ReadSettings(Read read) {
  platform::Expected<RegistryKey> key = OpenPelixoKey();
  if (key) return read(*key);
  if (!RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser, "")) {
    return platform::Error("Cannot read the settings, the defaults are used: " +
                           key.error().message());
  }
  return Status::Ok();
}

Status ReadBool(const RegistryKey& key, const char* name, bool* value) {
  int number = *value ? 1 : 0;
  Status status = ReadIntSetting(key, name, &number);
  if (status) *value = number != 0;
  return status;
}

Status ReadString(const RegistryKey& key, const char* name, std::string* value) {
  std::optional<platform::RegistryValue> raw = key.GetValue(name);
  if (!raw) return Status::Ok();
  if (raw->type != RegistryType::kString &&
      raw->type != RegistryType::kExpandString) {
    return InvalidDataType(name);
  }
  std::optional<std::string> text = key.GetString(name);
  if (!text) return InvalidDataType(name);
  *value = *text;
  return Status::Ok();
}

// A stored position the list does not have leaves it without a selection.
int ListPosition(int stored, int count) {
  return stored >= 0 && stored < count ? stored : kNoSelection;
}

// The list positions among the Send options, in the order they are read
// and stored.
struct ListSetting {
  const char* name;
  int SendOptions::*option;
  int count;   // the positions of the list
  int absent;  // the position when the value is absent
};
constexpr ListSetting kListSettings[] = {
    {kCoordUnitsValue, &SendOptions::coord_units, TOptionsForm::kCoordUnitsCount,
     kCoordUnitsMeters},
    {kAngleUnitsValue, &SendOptions::angle_units, TOptionsForm::kAngleUnitsCount,
     kAngleUnitsGons},
    {kDCFileVersionValue, &SendOptions::dc_file_version, TOptionsForm::kDCFileVersionCount,
     kDCFileVersion107}};

}  // namespace

platform::Expected<RegistryKey> OpenPelixoKey() {
  return RegistryKey::Open(platform::RegistryRoot::kCurrentUser, kPelixoRegistryKey,
                           /*create=*/true);
}

Status ReadIntSetting(const RegistryKey& key, const char* name, int* value) {
  std::optional<platform::RegistryValue> raw = key.GetValue(name);
  if (!raw) return Status::Ok();
  if (raw->type != RegistryType::kDword) return InvalidDataType(name);
  std::optional<int32_t> number = key.GetInt(name);
  if (!number) return InvalidDataType(name);
  *value = *number;
  return Status::Ok();
}

int DCVersionFromOptions(int dc_file_version_position) {
  switch (dc_file_version_position) {
    case kDCFileVersion107: return kDCVersion107;
    case kDCFileVersion100: return kDCVersion100;
    case kDCFileVersion77: return kDCVersion77;
    case kDCFileVersion75: return kDCVersion75;
    default: return kDCVersion100;
  }
}

DCJobSettings JobSettingsFromOptions(const SendOptions& options) {
  DCJobSettings settings;
  settings.angle_unit_position = options.angle_units;
  settings.coordinate_unit_position = options.coord_units;
  settings.coordinate_system_file = options.coord_sys_file;
  return settings;
}

platform::Status TOptionsForm::FormShow() {
  static constexpr struct {
    std::string Captions::*caption;
    UserTextId text;
  } kCaptions[] = {{&Captions::dialog, kTextOptionsCaption},
                   {&Captions::units, kTextUnits},
                   {&Captions::coordinate, kTextCoordinate},
                   {&Captions::angular, kTextAngular},
                   {&Captions::coord_sys_file, kTextCoordSysFile},
                   {&Captions::dc_file_version, kTextDcFileVersion},
                   {&Captions::ok, kTextOk},
                   {&Captions::cancel, kTextCancel},
                   {&Captions::browse, kTextBrowse}};
  for (const auto& caption : kCaptions) {
    captions_.*caption.caption = texts_.GetUserText(caption.text);
  }
  angle_items_ = {texts_.GetUserText(kTextDegrees), texts_.GetUserText(kTextGons),
                  texts_.GetUserText(kTextMils)};
  coord_items_ = {texts_.GetUserText(kTextMeters), texts_.GetUserText(kTextFeet),
                  texts_.GetUserText(kTextUsFeet)};
  version_items_ = {"Version 10.7", texts_.GetUserText(kTextVersion100),
                    texts_.GetUserText(kTextVersion77),
                    texts_.GetUserText(kTextVersion75)};
  modal_result_ = DialogResult::kNone;
  return LoadOptions();
}

platform::Status TOptionsForm::LoadOptions() {
  return ReadSettings([this](const RegistryKey& key) {
    std::string file;
    if (Status s = ReadString(key, kCoordSysFileValue, &file); !s) return s;
    options_.coord_sys_file = file;
    for (const ListSetting& setting : kListSettings) {
      int position = setting.absent;
      if (Status s = ReadIntSetting(key, setting.name, &position); !s) return s;
      options_.*setting.option = ListPosition(position, setting.count);
    }
    return Status::Ok();
  });
}

void TOptionsForm::OKBtnClick() {
  if (platform::Expected<RegistryKey> key = OpenPelixoKey()) {
    // A failing write leaves the stored value as it was; there is nothing
    // the user could do about it here.
    (void)key->SetString(kCoordSysFileValue, options_.coord_sys_file);
    for (const ListSetting& setting : kListSettings) {
      (void)key->SetInt(setting.name, options_.*setting.option);
    }
  }
  modal_result_ = DialogResult::kOk;
}

platform::Status TOptionsForm::CancelBtnClick() {
  Status status = LoadOptions();
  modal_result_ = DialogResult::kCancel;
  return status;
}

void TOptionsForm::BrowseBtnClick(UserInterface& ui) {
  FileDialogRequest request;
  request.filter = texts_.GetUserText(kTextAnyFileFilter);
  std::optional<std::string> path = ui.ChooseOpenFile(request);
  if (path) options_.coord_sys_file = *path;
}

platform::Status LoadMainWindowState(MainWindowState* state) {
  return ReadSettings([state](const RegistryKey& key) {
    if (Status s = ReadBool(key, kWriteToDCFileValue, &state->write_to_dc_file); !s) return s;
    if (Status s = ReadBool(key, kSendFileValue, &state->send_file); !s) return s;
    if (Status s = ReadIntSetting(key, kDownloadFormatIndexValue, &state->download_format_index);
        !s) {
      return s;
    }
    return ReadIntSetting(key, kUploadFormatIndexValue, &state->upload_format_index);
  });
}

void StoreMainWindowState(const MainWindowState& state) {
  platform::Expected<RegistryKey> key = OpenPelixoKey();
  if (!key) return;
  (void)key->SetInt(kWriteToDCFileValue, state.write_to_dc_file ? 1 : 0);
  (void)key->SetInt(kSendFileValue, state.send_file ? 1 : 0);
  (void)key->SetInt(kDownloadFormatIndexValue, state.download_format_index);
  (void)key->SetInt(kUploadFormatIndexValue, state.upload_format_index);
}

bool DebugValuePresent() {
  platform::Expected<RegistryKey> key = OpenPelixoKey();
  return key && key->ValueExists(kDebugValue);
}

}  // namespace pelixo
