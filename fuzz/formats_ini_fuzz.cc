// Formats.ini through the posix profile reader and TFormatDefinitions.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_util.h"
#include "pelixo/core/format_definitions.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchPath("Formats.ini");
  fuzz::WriteFile(path, data, size);

  pelixo::TFormatDefinitions definitions;
  definitions.Load(path);
  for (int i = 0; i < definitions.Count(); ++i) {
    const pelixo::TFormatDefinition& d = definitions[i];
    for (int f = 0; f < d.Fields.Count(); ++f) {

  // The calls the library's DAS export makes, and the raw lists.
  for (const std::string& section : platform::ProfileSectionNames(path)) {
    for (const std::string& key : platform::ProfileKeyNames(path, section)) {
      const std::string value = platform::ProfileString(path, section, key, "");
      if (value.size() >= static_cast<size_t>(platform::kProfileValueBytes)) {
        __builtin_trap();
      }
      platform::ProfileInt(path, section, key, -1);
    }
  }
  platform::ProfileString(path, "DAS4", "Kote", "x");
  platform::ProfileInt(path, "das4", "Decimaler", 3);
  return 0;
}
