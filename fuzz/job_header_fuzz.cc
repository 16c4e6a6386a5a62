// The header of a received ".JOB" file through ReadJobVersion.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_util.h"
#include "pelixo/app/device_transfer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchPath("header.job");
  fuzz::WriteFile(path, data, size);
  const pelixo::JobVersion version = pelixo::ReadJobVersion(path);
  if (version.version < 0 || version.version > 255 * 100 + 255) __builtin_trap();
  if (version.supported && pelixo::JobReaderLibraryName(version.version).empty()) {
    __builtin_trap();
  }
  return 0;
}
