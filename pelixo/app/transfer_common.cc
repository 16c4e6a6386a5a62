#include "pelixo/app/transfer_common.h"

#include "pelixo/app/options_form.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/registry.h"

namespace pelixo {

int DefinitionIndex(const TFormatDefinitions& definitions, bool upload,
                    int combo_index) {
  int position = 0;
  for (int i = 0; i < definitions.Count(); ++i) {
    if (definitions[i].Upload != upload) continue;
    if (position == combo_index) return i;
    ++position;
  }
  return 0;
}

FileDialogRequest DefinitionFileDialog(const TFormatDefinition& definition) {
  FileDialogRequest request;
  request.filter = definition.Description + "|*." + definition.Extension;
  request.default_extension = definition.Extension;
  request.title = definition.Description;
  return request;
}

platform::Status StoreTransferFileName(const char* name, const std::string& path,
                                       HandOver how) {
  auto failed = [name](const platform::Error& why) {
    return platform::Error(std::string("Cannot store ") + name +
                           " in the settings: " + why.message());
  };
  platform::Expected<platform::RegistryKey> key = OpenPelixoKey();
  if (!key) return failed(key.error());
  platform::Status stored = key->SetString(
      name, how == HandOver::kFullPath ? platform::AbsolutePath(path) : path);
  if (!stored) return failed(stored.error());
  return platform::Status::Ok();
}

ReceivedFileHandOver::~ReceivedFileHandOver() {
  // Nothing more can be done about a failure here: the program has ended.
  if (stored_) (void)StoreTransferFileName(kReceivedFileValue, "", HandOver::kAsGiven);
}

platform::Status ReceivedFileHandOver::Store(const std::string& dc_path) {
  platform::Status status = StoreTransferFileName(kReceivedFileValue, dc_path);
  stored_ = stored_ || status.ok();
  return status;
}

std::string GetTempDirectory() {
  return platform::WithTrailingSeparator(platform::TempDirectory());
}

}  // namespace pelixo
