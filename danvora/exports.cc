// The library's two exported entries. They take and give only C types:
// zero-terminated 8-bit paths and 16-bit numbers in 32-bit slots, with the
// standard Windows calling convention; their undecorated names come from
// danvora.def (Windows) and the version script (posix). Nothing may escape
// them: any failure inside becomes the refusal code 255.
#include <cstdint>

#include "danvora/dctrans.h"
#include "danvora/koordles.h"

#if defined(_WIN32)
#define DANVORA_CALL __stdcall
#define DANVORA_EXPORT
#else
#define DANVORA_CALL
#define DANVORA_EXPORT __attribute__((visibility("default")))
#endif

namespace {

const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

extern "C" {

DANVORA_EXPORT int16_t DANVORA_CALL dctrans(const char* dc_file,
                                            const char* out_file,
                                            const char* report_file,
                                            int16_t format,
                                            const char* separators,
                                            const char* ini_file) {
  try {
    return danvora::Dctrans(OrEmpty(dc_file), OrEmpty(out_file),
                            OrEmpty(report_file), format, OrEmpty(separators),
                            OrEmpty(ini_file));
  } catch (...) {
    return 255;
  }
}

DANVORA_EXPORT int16_t DANVORA_CALL koordles(const char* in_file,
                                             const char* out_file,
                                             int16_t format, int16_t sign) {
  try {
    return danvora::Koordles(OrEmpty(in_file), OrEmpty(out_file), format,
                             sign);
  } catch (...) {
    return 255;
  }
}

}  // extern "C"
