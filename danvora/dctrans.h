// Translating one DC file into a Danish point file and a field report.
#ifndef DANVORA_DCTRANS_H_
#define DANVORA_DCTRANS_H_

#include <cstdint>

#include "danvora/format_numbers.h"

namespace danvora {

// Reads `out_file` as the known points, then translates `dc_file` into
// `out_file` in `format` (kNone: no point file) and, when
// `report_file` is longer than 2 characters, the field report. Code tokens
// are split at `separators` (the first "b" stands for a blank); the DAS
// settings come from section "DAS4" of `ini_file`. Returns the results of
// the export (interface.h); kRefused after telling the user through
// alert_user. The files are
// replaced only when the whole translation succeeded.
int16_t Dctrans(const char* dc_file, const char* out_file,
                const char* report_file, ExportFormat format, const char* separators,
                const char* ini_file);

}  // namespace danvora

#endif  // DANVORA_DCTRANS_H_
