#include "pelixo/app/transfer_common.h"

#include "pelixo/app/settings.h"
#include "platform/files.h"
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

void StoreTransferFileName(bool upload, const std::string& path) {
  platform::Expected<platform::RegistryKey> key = platform::RegistryKey::Open(
      platform::RegistryRoot::kCurrentUser, kPelixoRegistryKey, /*create=*/true);
  if (!key) return;
  (void)key->SetString(upload ? kUploadFileValue : kDownloadFileValue, path);
}

std::string GetTempDirectory() {
  return platform::WithTrailingSeparator(platform::TempDirectory());
}

}  // namespace pelixo
