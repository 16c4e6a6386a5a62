// A whole translation: the input's first byte chooses the export format
// (-1 to 10) and whether a field report is written, the rest is the DC
// file. Covers the job model, the report writer and every export writer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "danvora/dctrans.h"
#include "danvora/library_state.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int format = static_cast<int>(data[0] % 12) - 1;
  const bool report = (data[0] & 0x80) == 0;
  const std::string dc_path = fuzz::ScratchPath("job.dc");
  const std::string out_path = fuzz::ScratchPath("job.out");
  const std::string report_path = fuzz::ScratchPath("job.report");
  const std::string ini_path = fuzz::ScratchPath("das.ini");
  fuzz::WriteFile(dc_path, data + 1, size - 1);
  static const bool ini_written = [&] {
    static const char kIni[] = "[DAS4]\nKote=1\n";
    fuzz::WriteFile(ini_path, reinterpret_cast<const uint8_t*>(kIni), sizeof kIni - 1);
    return true;
  }();
  (void)ini_written;
  // No known points: the previous output file is removed first.
  std::remove(out_path.c_str());
  danvora::reset_library_state();
  danvora::Dctrans(dc_path.c_str(), out_path.c_str(),
                   report ? report_path.c_str() : "",
                   danvora::ToExportFormat(format), "b-_", ini_path.c_str());
  return 0;
}
