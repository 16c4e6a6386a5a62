// Pelixo's settings: values of the current user's key
// Software\Corvane\Pelixo. Texts are strings, integers and booleans 32-bit
// integers; a missing value means its default. The key is opened with
// creation allowed for reading and writing alike.
//
// `TOptionsForm` is the logic of the options dialog (Send options: units,
// DC file version, coordinate-system definition file). Its state is what
// the dialog's controls show, and that state is the current Send options:
// the window, the drivers and the command line all read it.
#ifndef PELIXO_APP_OPTIONS_FORM_H_
#define PELIXO_APP_OPTIONS_FORM_H_

#include <optional>
#include <string>
#include <vector>

#include "pelixo/app/user_texts.h"
#include "pelixo/core/dc_writer.h"
#include "platform/error.h"

namespace platform {
class RegistryKey;
}  // namespace platform

namespace pelixo {

class UserInterface;

inline constexpr char kPelixoRegistryKey[] = "Software\\Corvane\\Pelixo";

// Value names.
inline constexpr char kUploadFileValue[] = "UploadFile";
inline constexpr char kDownloadFileValue[] = "DownloadFile";
inline constexpr char kReceivedFileValue[] = "ReceivedFile";
inline constexpr char kCoordSysFileValue[] = "CoordSysFile";
inline constexpr char kCoordUnitsValue[] = "CoordUnits";
inline constexpr char kAngleUnitsValue[] = "AngleUnits";
inline constexpr char kDCFileVersionValue[] = "DCFileVersion";
inline constexpr char kWriteToDCFileValue[] = "WriteToDCFile";
inline constexpr char kSendFileValue[] = "SendFile";
inline constexpr char kDownloadFormatIndexValue[] = "DownloadFormatIndex";
inline constexpr char kUploadFormatIndexValue[] = "UploadFormatIndex";
inline constexpr char kDebugValue[] = "Debug";

// List positions; -1 is no selection.
inline constexpr int kNoSelection = -1;
inline constexpr int kCoordUnitsMeters = 0, kCoordUnitsFeet = 1,
                     kCoordUnitsUsFeet = 2;
inline constexpr int kAngleUnitsDegrees = 0, kAngleUnitsGons = 1,
                     kAngleUnitsMils = 2;
inline constexpr int kDCFileVersion107 = 0, kDCFileVersion100 = 1,
                     kDCFileVersion77 = 2, kDCFileVersion75 = 3;

// Pelixo's key, created when it is missing.
platform::Expected<platform::RegistryKey> OpenPelixoKey();

// A 32-bit integer setting: absent leaves `*value` as it is; a value of
// another registry type fails with "Invalid data type for '<name>'".
platform::Status ReadIntSetting(const platform::RegistryKey& key, const char* name,
                                int* value);

// The Send options as the dialog shows them.
struct SendOptions {
  std::string coord_sys_file;                 // CoordSysFile
  int coord_units = kCoordUnitsMeters;        // CoordUnits
  int angle_units = kAngleUnitsGons;          // AngleUnits
  int dc_file_version = kDCFileVersion107;    // DCFileVersion
};

// The DC version number of a position of the version list: 1070, 1000,
// 770, 750; no selection or any other position gives 1000.
int DCVersionFromOptions(int dc_file_version_position);

// What the DC writer takes from the Send options.
DCJobSettings JobSettingsFromOptions(const SendOptions& options);

enum class DialogResult { kNone, kOk, kCancel };

class TOptionsForm {
 public:
  static constexpr int kCoordUnitsCount = 3;
  static constexpr int kAngleUnitsCount = 3;
  static constexpr int kDCFileVersionCount = 4;

  explicit TOptionsForm(const TUserTexts& texts) : texts_(texts) {}

  // Captions, the three lists, then LoadOptions. Called at program start
  // and every time the dialog is shown.
  platform::Status FormShow();
  // Reads the stored options into the controls. A stored position outside
  // its list leaves that list without a selection; a key that cannot be
  // opened leaves the controls as they are (a store that cannot be read
  // fails with "Cannot read the settings, the defaults are used: <why>"). A value of the wrong type ends
  // the reading with "Invalid data type for '<name>'"; the values read
  // before it keep their new state, the rest their old.
  platform::Status LoadOptions();
  // Stores the controls' state (also an empty file name; -1 for no
  // selection) and closes with OK.
  void OKBtnClick();
  // Discards the edits (LoadOptions) and closes with Cancel.
  platform::Status CancelBtnClick();
  // The open dialog of the coordinate-system file; a confirmed path
  // replaces the field's text. Nothing is stored until OK.
  void BrowseBtnClick(UserInterface& ui);

  SendOptions& options() { return options_; }
  const SendOptions& options() const { return options_; }
  int DCVersion() const { return DCVersionFromOptions(options_.dc_file_version); }
  DialogResult modal_result() const { return modal_result_; }

  struct Captions {
    std::string dialog, units, coordinate, angular, coord_sys_file,
        dc_file_version, ok, cancel, browse;
  };
  const Captions& captions() const { return captions_; }
  const std::vector<std::string>& angle_unit_items() const { return angle_items_; }
  const std::vector<std::string>& coord_unit_items() const { return coord_items_; }
  const std::vector<std::string>& dc_version_items() const { return version_items_; }

 private:
  const TUserTexts& texts_;
  SendOptions options_;
  DialogResult modal_result_ = DialogResult::kNone;
  Captions captions_;
  std::vector<std::string> angle_items_, coord_items_, version_items_;
};

// The main window's remembered state.
struct MainWindowState {
  bool write_to_dc_file = false;  // WriteToDCFile: false is the field device
  bool send_file = false;         // SendFile: false is Receive mode
  int download_format_index = 0;  // DownloadFormatIndex
  int upload_format_index = 0;    // UploadFormatIndex
};

// Reads the window's state (defaults where absent; wrong types end the
// reading with "Invalid data type for '<name>'", a store that cannot be
// read with the text of LoadOptions).
platform::Status LoadMainWindowState(MainWindowState* state);
void StoreMainWindowState(const MainWindowState& state);
// True when the value Debug exists, whatever its type and content.
bool DebugValuePresent();

}  // namespace pelixo

#endif  // PELIXO_APP_OPTIONS_FORM_H_
