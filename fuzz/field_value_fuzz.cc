// One FIELD value of a definition through ParseFieldValue.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_util.h"
#include "pelixo/core/format_definitions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelixo::ParseFieldValue(fuzz::AsText(data, size));
  return 0;
}
