// Translating one DC file into a Danish point file and a field report.
#ifndef DANVORA_DCTRANS_H_
#define DANVORA_DCTRANS_H_

#include <cstdint>
#include <string>

#include "danvora/format_numbers.h"

namespace danvora {

// Reads `out_path` as the known points, then translates `dc_path` into
// `out_path` in `format` (kNone: no point file) and, when `report_path` is
// longer than 2 characters, the field report. Code tokens are split at
// `separators` (the first "b" stands for a blank); the DAS settings come
// from section "DAS4" of `ini_path`. Returns the results of the export
// (interface.h); kRefused after telling the user through alert_user. The
// files are replaced only when the whole translation succeeded.
int16_t Dctrans(const std::string& dc_path, const std::string& out_path,
                const std::string& report_path, ExportFormat format,
                const std::string& separators, const std::string& ini_path);

}  // namespace danvora

#endif  // DANVORA_DCTRANS_H_
