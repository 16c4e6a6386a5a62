// Formats.ini through the posix profile reader and TFormatDefinitions.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_util.h"
#include "pelixo/core/format_definitions.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchPath("Formats.ini");
  fuzz::WriteFile(path, data, size);

  pelixo::TFormatDefinitions definitions;
  definitions.Load(path);

  // The calls the library's DAS export makes, and the raw lists.
  // Each call reads the whole file again, so only the first few.
  const std::vector<std::string> sections = platform::ProfileSectionNames(path);
  for (size_t s = 0; s < sections.size() && s < 4; ++s) {
    const std::vector<std::string> keys = platform::ProfileKeyNames(path, sections[s]);
    for (size_t k = 0; k < keys.size() && k < 8; ++k) {
      const std::string& section = sections[s];
      const std::string& key = keys[k];
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
