// The Danvora front end's command line and the path helpers it applies to
// Pelixo's settings.
#include <cstddef>
#include <cstdint>
#include <string>

#include "danvora-frontend/frontend.h"
#include "fuzz/fuzz_util.h"
#include "platform/path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  danvora_frontend::ParseCommandLine(text);
  danvora_frontend::FormatNumberForName(text);
  const std::string path(text);
  const std::string folder = platform::FolderOf(path);
  if (folder.empty()) __builtin_trap();
  platform::StemToFirstDot(path);
  platform::ReplaceExtension(path, ".info", platform::ExtensionRule::kSlashes);
  return 0;
}
