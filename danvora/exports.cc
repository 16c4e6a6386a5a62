// The library's two exported entries (declared in interface.h). Nothing may
// escape them: any failure inside becomes the refusal code 255.
#include <cstdint>

#include "danvora/dctrans.h"
#include "danvora/interface.h"
#include "danvora/koordles.h"
#include "danvora/library_state.h"

#if defined(_WIN32)
#define DANVORA_EXPORT
#else
#define DANVORA_EXPORT __attribute__((visibility("default")))
#endif

namespace {

const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

extern "C" {

DANVORA_EXPORT int16_t PLATFORM_STDCALL dctrans(const char* dc_file,
                                            const char* out_file,
                                            const char* report_file,
                                            int16_t format,
                                            const char* separators,
                                            const char* ini_file) {
  danvora::use_library_switches();
  try {
    return danvora::Dctrans(OrEmpty(dc_file), OrEmpty(out_file),
                            OrEmpty(report_file),
                            danvora::ToExportFormat(format),
                            OrEmpty(separators), OrEmpty(ini_file));
  } catch (...) {
    return danvora::kRefused;
  }
}

DANVORA_EXPORT int16_t PLATFORM_STDCALL koordles(const char* in_file,
                                             const char* out_file,
                                             int16_t format, int16_t sign) {
  danvora::use_library_switches();
  try {
    return danvora::Koordles(OrEmpty(in_file), OrEmpty(out_file),
                             danvora::ToExportFormat(format), sign);
  } catch (...) {
    return danvora::kRefused;
  }
}

}  // extern "C"
