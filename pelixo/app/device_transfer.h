// Pelixo's use of Syncrona: the registry adjustments around its dialog
// (default devices, hidden device families, the backup setting while
// receiving), its selection component for sending and receiving jobs, and
// the version-specific job-reader libraries that turn a received job file
// into a points file.
#ifndef PELIXO_APP_DEVICE_TRANSFER_H_
#define PELIXO_APP_DEVICE_TRANSFER_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pelixo/app/com_syncrona.h"
#include "pelixo/app/device_sender.h"
#include "pelixo/app/device_transfer_job_reader.h"
#include "pelixo/app/user_texts.h"
#include "platform/com.h"
#include "platform/dynamic_library.h"
#include "platform/error.h"

namespace pelixo {

class UserInterface;

inline constexpr char kSyncronaKey[] = "Software\\Corvane\\Syncrona";
inline constexpr char kSyncronaSettingsKey[] = "Software\\Corvane\\Syncrona\\Settings";
inline constexpr char kBackupDataFilesValue[] = "Backup Data Files";
inline constexpr char kTerrapadDevicesKey[] =
    "Software\\Corvane\\Syncrona\\Terrapad\\Devices\\Terrapad";
inline constexpr char kConverterKey[] =
    "SOFTWARE\\Corvane\\Syncrona\\Device Drivers\\Terrapad\\Converter";
inline constexpr char kShareKey[] = "SOFTWARE\\Corvane\\Share";
inline constexpr char kNotRegisteredMessage[] =
    "Corvane Syncrona has not been registered correctly.";

// Creates the two default Terrapad devices when the Terrapad device key is
// missing. Errors are ignored.
void EnsureDefaultDevices();
// Renames every device family other than Terrapad and Tachyra (and the
// Settings key) to "_" + its name, so that the dialog offers only those two;
// UnhideDeviceFamilies gives every "_" key its name back. A rename is
// skipped when the target exists; an error ends the pass silently.
void HideOtherDeviceFamilies();
void UnhideDeviceFamilies();

// Switches Syncrona's "Backup Data Files" on; true when it had been
// explicitly off. A value that is not an integer is left as it is and
// fails with "Invalid data type for 'Backup Data Files'".
// RestoreBackupDataFiles switches it off again.
platform::Expected<bool> ForceBackupDataFiles();
void RestoreBackupDataFiles();

struct ConverterSettings {
  std::string directory;      // folder of the job-reader libraries
  std::string language_file;
  std::string geodata_directory;
};
// False (nothing) when the converter key of the local machine is missing.
std::optional<ConverterSettings> ReadConverterSettings();

struct JobVersion {
  int version = 0;  // major * 100 + minor
  bool supported = false;
};
// The version in a job file's header (signed or older layout).
JobVersion ReadJobVersion(const std::string& job_path);

// The job-reader library of a supported version ("qmxl3277.dll", ...), in
// the platform's spelling; empty for any other version.
std::string JobReaderLibraryName(int version);
JobReaderRecord MakeInputRecord(int version, std::string_view geodata_directory);
JobReaderRecord MakeOutputRecord(int version);

// The names of a receive result: at most `count`, from positions 0 to
// length - 1 and never beyond 3999 characters, each ended by a zero
// character.
std::vector<std::string> ReceivedFileNames(const SyncronaReceiveResult& result);

// The save-as callback of one device send: a reference-counted object of
// the component's callback interface that hands the request to the send
// driver. Detach() cuts it off from the driver once the send is over, in
// case the component keeps a reference.
class TSaveAsClass final : public ISyncronaSaveAs {
 public:
  // With one reference, the caller's.
  explicit TSaveAsClass(SaveAsHandler& handler) : handler_(&handler) {}

  platform::ComStatus PLATFORM_STDCALL QueryInterface(const platform::ComGuid& iid,
                                                      void** object) override;
  uint32_t PLATFORM_STDCALL AddRef() override;
  uint32_t PLATFORM_STDCALL Release() override;
  platform::ComStatus PLATFORM_STDCALL SaveAs(const platform::ComChar* name, int32_t reserved,
                                              int32_t dc_version,
                                              platform::ComChar** path) override;

  void Detach() { handler_ = nullptr; }

 private:
  ~TSaveAsClass() = default;
  SaveAsHandler* handler_;
  uint32_t references_ = 1;
};

class TDeviceTransfer : public DeviceSender {
 public:
  TDeviceTransfer(UserInterface& ui, const TUserTexts& texts) : ui_(ui), texts_(texts) {}
  TDeviceTransfer(const TDeviceTransfer&) = delete;
  TDeviceTransfer& operator=(const TDeviceTransfer&) = delete;

  // The paths of the jobs the user received into `destination` through the
  // component's dialog, or nothing.
  std::optional<std::vector<std::string>> SelectReceivedFiles(const std::string& destination);

  bool SendJobToDevice(const std::string& job_name, SaveAsHandler& callback) override;

  // Runs the job reader of the job beside `received_path` (its ".JOB"),
  // which writes the points file given in `points_path` whatever the
  // outcome. False when the job is skipped.
  bool ConvertJobToPoints(const std::string& received_path, std::string* points_path);

  // True when the last attempt to create the selection component failed.
  bool component_unavailable() const { return component_unavailable_; }

 private:
  struct Component;
  std::optional<Component> CreateSelectionComponent();
  // The library of `name` from `directory`, loaded once for the run.
  const platform::DynamicLibrary* JobReader(const std::string& directory,
                                            const std::string& name);

  UserInterface& ui_;
  const TUserTexts& texts_;
  std::map<std::string, platform::DynamicLibrary> job_readers_;
  bool component_unavailable_ = false;
};

}  // namespace pelixo

#endif  // PELIXO_APP_DEVICE_TRANSFER_H_
