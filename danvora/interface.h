// The library's interface: its two exported entries, as the library defines
// them and as the programs that load it call them. They take and give only C
// types: zero-terminated 8-bit paths and 16-bit numbers in 32-bit slots, with
// the standard Windows calling convention; their undecorated names come from
// danvora.def (Windows) and the version script (posix).
#ifndef DANVORA_INTERFACE_H_
#define DANVORA_INTERFACE_H_

#include <cstdint>

#include "platform/calling_convention.h"
#include "platform/switches.h"

extern "C" {

// A DC job into a point file of `format` (with its report and attribute
// file): kTranslated, kTranslatedWithCalibration or kRefused.
int16_t PLATFORM_STDCALL dctrans(const char* dc_file, const char* out_file,
                                 const char* report_file, int16_t format,
                                 const char* separators, const char* ini_file);

// A coordinate file of `format` into CSV: kTranslated or kRefused.
int16_t PLATFORM_STDCALL koordles(const char* in_file, const char* out_file,
                                  int16_t format, int16_t sign);

}  // extern "C"

namespace danvora {

// The entries' results.
inline constexpr int16_t kTranslated = 0;
// dctrans: the job holds calibration points (its coordinate system was
// fitted in the field).
inline constexpr int16_t kTranslatedWithCalibration = -1;
// Refused, or a file could not be read or written; the user has been told.
inline constexpr int16_t kRefused = 255;

// The entries as pointers, for a program that finds them by name.
using DctransEntry = decltype(&dctrans);
using KoordlesEntry = decltype(&koordles);

// The environment switches of the platform layer that the library and the
// programs around it hand over at start-up. The store is Pelixo's: the
// front end finds the transfer's files through Pelixo's values.
inline platform::Switches DanvoraSwitches() {
  platform::Switches switches;
  switches.store_variable = "PELIXO_REGISTRY";
  switches.store_in_home = "/.config/pelixo/registry.reg";
  switches.failing_writes_variable = "PELIXO_FAIL_WRITES";
  switches.decimal_separator_variable = "PELIXO_DECIMAL_SEPARATOR";
  switches.boxes_on_stderr_variables[0] = "PELIXO_BOXES";
  switches.boxes_on_stderr_variables[1] = "DANVORA_ALERTS";
  return switches;
}

}  // namespace danvora

#endif  // DANVORA_INTERFACE_H_
