// A Danish coordinate file through koordles: the first byte chooses the
// format (0 to 7) and the sign, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "danvora/koordles.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const danvora::ExportFormat format = danvora::ToExportFormat(data[0] & 7);
  const int sign = (data[0] & 8) != 0 ? -1 : 1;
  const std::string out =
      danvora::ConvertCoordinateText(fuzz::AsText(data + 1, size - 1), format, sign);
  // Every line it makes ends with CR LF.
  if (!out.empty() && (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)) {
    __builtin_trap();
  }
  return 0;
}
