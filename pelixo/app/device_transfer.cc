#include "pelixo/app/device_transfer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include "pelixo/app/options_form.h"
#include "pelixo/app/user_interface.h"
#include "pelixo/core/text.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/registry.h"

namespace pelixo {

namespace {

using platform::RegistryKey;
using platform::RegistryRoot;

// Longest job name handed to the component, in characters.
constexpr size_t kMaxJobNameChars = 999;
// Longest stretch of a receive result that is scanned.
constexpr uint32_t kMaxResultChars = 3999;

// The device families are hidden for the life of the object, and unhidden
// however the dialog ends.
class HiddenDeviceFamilies {
 public:
  HiddenDeviceFamilies() { HideOtherDeviceFamilies(); }
  ~HiddenDeviceFamilies() { UnhideDeviceFamilies(); }
  HiddenDeviceFamilies(const HiddenDeviceFamilies&) = delete;
  HiddenDeviceFamilies& operator=(const HiddenDeviceFamilies&) = delete;
};

// Moves a key of Syncrona's tree; does nothing when the old key is missing
// or the new one exists already. False on an error.
bool MoveDeviceFamily(const std::string& from, const std::string& to) {
  const std::string base = std::string(kSyncronaKey) + "\\";
  if (!RegistryKey::KeyExists(RegistryRoot::kCurrentUser, base + from)) return true;
  if (RegistryKey::KeyExists(RegistryRoot::kCurrentUser, base + to)) return true;
  return static_cast<bool>(platform::MoveRegistryKey(base + from, base + to));
}

std::vector<std::string> DeviceFamilies() {
  platform::Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaKey, /*create=*/false);
  if (!key) return {};
  return key->SubkeyNames();
}

std::string ReadText(const RegistryKey& key, const char* name) {
  return key.GetString(name).value_or(std::string());
}

// Callbacks of the job readers: never stop, ignore the progress.
int32_t PLATFORM_CDECL JobReaderQuery(int32_t) { return 0; }
void PLATFORM_CDECL JobReaderProgress(int32_t) {}
void PLATFORM_CDECL JobReaderMessage(const char*) {}

bool ReadExactly(std::FILE* file, void* buffer, size_t count) {
  return std::fread(buffer, 1, count, file) == count;
}

}  // namespace

void EnsureDefaultDevices() {
  if (RegistryKey::KeyExists(RegistryRoot::kCurrentUser, kTerrapadDevicesKey)) return;
  for (const char* port : {"COM1", "COM2"}) {
    platform::Expected<RegistryKey> device = RegistryKey::Open(
        RegistryRoot::kCurrentUser,
        std::string(kTerrapadDevicesKey) + "\\Terrapad on " + port, /*create=*/true);
    if (!device) continue;
    (void)device->SetString("Port", port);
    (void)device->SetInt("Timeout", 10);
    (void)device->SetInt("MaxRetries", 3);
  }
}

void HideOtherDeviceFamilies() {
  for (const std::string& name : DeviceFamilies()) {
    if (name == "Terrapad" || name == "Tachyra" || name == "Settings") continue;
    if (!name.empty() && name[0] == '_') continue;
    if (!MoveDeviceFamily(name, "_" + name)) return;
  }
}

void UnhideDeviceFamilies() {
  for (const std::string& name : DeviceFamilies()) {
    if (name.empty() || name[0] != '_') continue;
    if (!MoveDeviceFamily(name, name.substr(1))) return;
  }
}

platform::Expected<bool> ForceBackupDataFiles() {
  platform::Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaSettingsKey, /*create=*/true);
  if (!key) return false;
  if (!key->ValueExists(kBackupDataFilesValue)) {
    (void)key->SetInt(kBackupDataFilesValue, 1);
    return false;
  }
  int value = 0;
  // A value of another type is Syncrona's to keep: it is neither replaced
  // nor guessed at.
  if (platform::Status read = ReadIntSetting(*key, kBackupDataFilesValue, &value); !read) {
    return read.error();
  }
  if (value != 0) return false;
  (void)key->SetInt(kBackupDataFilesValue, 1);
  return true;
}

void RestoreBackupDataFiles() {
  platform::Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, kSyncronaSettingsKey, /*create=*/false);
  if (!key) return;
  (void)key->SetInt(kBackupDataFilesValue, 0);
}

std::optional<ConverterSettings> ReadConverterSettings() {
  platform::Expected<RegistryKey> converter =
      RegistryKey::Open(RegistryRoot::kLocalMachine, kConverterKey, /*create=*/false);
  if (!converter) return std::nullopt;
  ConverterSettings settings;
  settings.directory = ReadText(*converter, "Directory");
  settings.language_file = ReadText(*converter, "Language File");
  platform::Expected<RegistryKey> share =
      RegistryKey::Open(RegistryRoot::kLocalMachine, kShareKey, /*create=*/false);
  if (share) settings.geodata_directory = ReadText(*share, "CurrentGeoDataDirectory");
  return settings;
}

JobVersion ReadJobVersion(const std::string& job_path) {
  JobVersion result;
  // A folder, FIFO or device is no job file: unreadable, as a missing one.
  platform::Expected<platform::InputFile> file = platform::InputFile::Open(job_path);
  if (!file) return result;
  static constexpr char kSignature[] = "Corvane Terrapad Job";
  constexpr size_t kSignatureLength = sizeof kSignature - 1;
  char head[kSignatureLength];
  if (!ReadExactly(file->get(), head, kSignatureLength)) return result;
  unsigned char skipped[16];
  if (std::memcmp(head, kSignature, kSignatureLength) == 0) {
    if (!ReadExactly(file->get(), skipped, 16)) return result;
  } else {
    if (std::fseek(file->get(), 0, SEEK_SET) != 0) return result;
    if (!ReadExactly(file->get(), skipped, 2)) return result;
  }
  unsigned char version[2];
  if (!ReadExactly(file->get(), version, 2)) return result;
  result.version = version[0] * 100 + version[1];
  result.supported = result.version == 770 || result.version == 1000 ||
                     result.version == 1050 || result.version == 1070;
  return result;
}

std::string JobReaderLibraryName(int version) {
  const char* name = version == 770    ? "qmxl3277"
                     : version == 1000 ? "qmxl3210"
                     : version == 1050 ? "qmxl321050"
                     : version == 1070 ? "qmxl321070"
                                       : nullptr;
  if (name == nullptr) return std::string();
  return platform::LibraryFileName(std::string(name) + ".dll",
                                   "lib" + std::string(name) + ".so");
}

JobReaderRecord MakeInputRecord(int version, std::string_view geodata_directory) {
  JobReaderRecord record{};
  SetRecordWord(record, kRecordSizeOffset, kJobReaderRecordSize);
  SetRecordWord(record, kRecordKindOffset, kInputRecordKind);
  SetRecordWord(record, kRecordVersionOffset, static_cast<uint16_t>(version));
  SetRecordWord(record, kRecordRoleOffset, kInputRecordRole);
  // A longer folder is cut so that the field keeps its closing zero.
  size_t length = std::min<size_t>(geodata_directory.size(), kRecordGeoDataSize - 1);
  for (size_t i = 0; i < length; ++i) {
    record[kRecordGeoDataOffset + i] = static_cast<uint8_t>(geodata_directory[i]);
  }
  return record;
}

JobReaderRecord MakeOutputRecord(int version) {
  JobReaderRecord record{};
  SetRecordWord(record, kRecordSizeOffset, kJobReaderRecordSize);
  SetRecordWord(record, kRecordKindOffset, kOutputRecordKind);
  SetRecordWord(record, kRecordVersionOffset, version > 1050 ? 3 : 2);
  SetRecordWord(record, kRecordRoleOffset, kOutputRecordRole);
  return record;
}

std::vector<std::string> ReceivedFileNames(const SyncronaReceiveResult& result) {
  std::vector<std::string> names;
  if (result.buffer == nullptr) return names;
  const uint32_t limit = std::min(result.length, kMaxResultChars);
  std::u16string current;
  for (uint32_t position = 0; position < limit && names.size() < result.count; ++position) {
    platform::ComChar c = result.buffer[position];
    if (c == 0) {
      names.push_back(platform::AnsiFromWide(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  return names;
}

// --- TSaveAsClass ---

platform::ComStatus PLATFORM_STDCALL TSaveAsClass::QueryInterface(const platform::ComGuid& iid,
                                                                  void** object) {
  if (object == nullptr) return platform::kComPointer;
  if (iid == platform::kIidUnknown || iid == kSyncronaSaveAsInterfaceId) {
    AddRef();
    *object = static_cast<ISyncronaSaveAs*>(this);
    return platform::kComOk;
  }
  *object = nullptr;
  return platform::kComNoInterface;
}

uint32_t PLATFORM_STDCALL TSaveAsClass::AddRef() { return ++references_; }

uint32_t PLATFORM_STDCALL TSaveAsClass::Release() {
  uint32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

platform::ComStatus PLATFORM_STDCALL TSaveAsClass::SaveAs(const platform::ComChar* name,
                                                          int32_t reserved,
                                                          int32_t dc_version,
                                                          platform::ComChar** path) {
  if (path == nullptr) return platform::kComPointer;
  *path = nullptr;
  if (handler_ == nullptr) return kSaveAsFailed;
  // Nothing may be thrown into the component.
  try {
    std::string written;
    std::string name_text =
        name == nullptr ? std::string() : platform::AnsiFromWide(std::u16string(name));
    int32_t status = handler_->SaveAs(name_text, reserved, dc_version, &written);
    if (status != 0) return status;
    *path = platform::ComTaskWideText(platform::WideFromAnsi(written));
    return *path == nullptr ? platform::kComOutOfMemory : platform::kComOk;
  } catch (...) {
    return kSaveAsFailed;
  }
}

// --- TDeviceTransfer ---

struct TDeviceTransfer::Component {
  // The session outlives the component's interface.
  platform::ComSession session;
  platform::ComPtr<ISyncronaSelection> selection;
};

std::optional<TDeviceTransfer::Component> TDeviceTransfer::CreateSelectionComponent() {
  EnsureDefaultDevices();
  ui_.SetWaitCursor(true);
  component_unavailable_ = false;
  platform::Expected<platform::ComSession> session = platform::ComSession::Start();
  if (session) {
    platform::Expected<platform::ComPtr<ISyncronaSelection>> selection =
        session->Create<ISyncronaSelection>(kSyncronaSelectionClassId,
                                            kSyncronaSelectionInterfaceId);
    if (selection) return Component{std::move(*session), std::move(*selection)};
    ui_.Note(selection.error().message());
  } else {
    ui_.Note(session.error().message());
  }
  component_unavailable_ = true;
  ui_.SetWaitCursor(false);
  ui_.ShowMessage(kNotRegisteredMessage);
  return std::nullopt;
}

std::optional<std::vector<std::string>> TDeviceTransfer::SelectReceivedFiles(
    const std::string& destination) {
  std::optional<Component> component = CreateSelectionComponent();
  if (!component) return std::nullopt;
  std::optional<std::vector<std::string>> names;
  SyncronaReceiveResult* result = nullptr;
  try {
    std::string folder = destination;
    if (!folder.empty() && platform::IsPathSeparator(folder.back())) folder.pop_back();
    ui_.BringToForeground();
    ui_.ProcessMessages();
    platform::ComStatus status;
    {
      HiddenDeviceFamilies hidden;
      status = component->selection->Receive(
          ui_.OwnerWindow(), kReceiveFlags, platform::WideFromAnsi(folder).c_str(),
          kReceiveFixedNumbers[0], kReceiveFixedNumbers[1], kReceiveFixedNumbers[2],
          kJobFileType, /*text=*/u"", &result);
    }
    if (status == platform::kComOk && result != nullptr && result->count > 0) {
      names = ReceivedFileNames(*result);
    }
  } catch (const std::exception& error) {
    ui_.Note(error.what());
  }
  if (result != nullptr) platform::ComTaskFree(result);
  component.reset();
  ui_.SetWaitCursor(false);
  return names;
}

bool TDeviceTransfer::SendJobToDevice(const std::string& job_name, SaveAsHandler& callback) {
  std::optional<Component> component = CreateSelectionComponent();
  if (!component) return false;
  bool sent = false;
  TSaveAsClass* save_as = new TSaveAsClass(callback);
  platform::ComPtr<ISyncronaSaveAs> save_as_reference =
      platform::ComPtr<ISyncronaSaveAs>::Adopt(save_as);
  try {
    std::u16string name = platform::WideFromAnsi(job_name);
    if (name.size() > kMaxJobNameChars) name.resize(kMaxJobNameChars);
    ui_.BringToForeground();
    ui_.ProcessMessages();
    HiddenDeviceFamilies hidden;
    sent = component->selection->Send(ui_.OwnerWindow(), kSendFlags, kJobFileType, name.c_str(),
                                      save_as) == platform::kComOk;
  } catch (const std::exception& error) {
    ui_.Note(error.what());
    sent = false;
  }
  save_as->Detach();
  save_as_reference.Reset();
  component.reset();
  ui_.SetWaitCursor(false);
  return sent;
}

const platform::DynamicLibrary* TDeviceTransfer::JobReader(const std::string& directory,
                                                           const std::string& name) {
  const std::string path = platform::WithTrailingSeparator(directory) + name;
  auto found = job_readers_.find(path);
  if (found != job_readers_.end()) return &found->second;
  platform::Expected<platform::DynamicLibrary> library = platform::DynamicLibrary::Load(path);
  if (!library || !library->loaded()) {
    ui_.Note("The job reader " + path + " cannot be loaded" +
             (library ? std::string() : ": " + library.error().message()));
    return nullptr;
  }
  return &job_readers_.emplace(path, std::move(*library)).first->second;
}

bool TDeviceTransfer::ConvertJobToPoints(const std::string& received_path,
                                         std::string* points_path) {
  const std::string job_path = platform::ReplaceExtension(received_path, ".JOB");
  JobVersion version = ReadJobVersion(job_path);
  if (!version.supported) {
    ui_.ShowError(texts_.GetUserText(kTextCannotHandleVersion));
    return false;
  }
  const std::string library_name = JobReaderLibraryName(version.version);
  std::optional<ConverterSettings> settings = ReadConverterSettings();
  if (!settings) {
    ui_.Note("The converter settings of Syncrona are missing (HKEY_LOCAL_MACHINE\\" +
             std::string(kConverterKey) + ")");
    return false;
  }
  const platform::DynamicLibrary* library = JobReader(settings->directory, library_name);
  if (library == nullptr) return false;
  auto translate = reinterpret_cast<TranslatePlusFunction>(library->Symbol(kTranslatePlusEntry));
  if (translate == nullptr) {
    ui_.Note("The job reader " + library_name + " has no entry " + kTranslatePlusEntry);
    return false;
  }
  const JobReaderRecord input = MakeInputRecord(version.version, settings->geodata_directory);
  const JobReaderRecord output = MakeOutputRecord(version.version);
  ScopedWaitCursor wait(ui_);
  *points_path = platform::ReplaceExtension(job_path, ".tic");
  int32_t result = translate(settings->language_file.c_str(), job_path.c_str(), input.data(),
                             points_path->c_str(), output.data(), JobReaderQuery,
                             JobReaderProgress, JobReaderMessage, 0);
  if (result == 0) ui_.Note("The job reader " + library_name + " could not read " + job_path);
  return result != 0;
}

}  // namespace pelixo
