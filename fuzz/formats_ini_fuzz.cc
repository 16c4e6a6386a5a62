// Formats.ini through the posix profile reader and TFormatDefinitions.
// Inputs of up to 1 MB (run-fuzzers), seeded with many repeated keys and
// sections.
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

  // Every section and key through the file read once (linear, so inputs of
  // up to 1 MB with many repeated keys stay fast), and the calls the
  // library's DAS export makes.
  const platform::Profile profile = platform::Profile::Load(path);
  const std::vector<std::string> sections = profile.SectionNames();
  for (const std::string& section : sections) {
    for (const std::string& key : profile.KeyNames(section)) {
      const std::string value = profile.String(section, key, "");
      if (value.size() >= static_cast<size_t>(platform::kProfileValueBytes)) {
        __builtin_trap();
      }
      profile.Int(section, key, -1);
    }
  }
  profile.String("DAS4", "Kote", "x");
  profile.Int("das4", "Decimaler", 3);
  // A second reading of the file gives what the first gave.
  const platform::Profile again = platform::Profile::Load(path);
  if (!sections.empty() &&
      again.String(sections[0], "NAME", "-") != profile.String(sections[0], "NAME", "-")) {
    __builtin_trap();
  }
  if (again.SectionNames() != sections) __builtin_trap();
  return 0;
}
