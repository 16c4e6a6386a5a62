// The field report: one walk over the job in file order that writes the
// Danish report and hands every point to the export.
#ifndef DANVORA_REPORT_H_
#define DANVORA_REPORT_H_

#include <string_view>

#include "danvora/format_numbers.h"
#include "danvora/job_state.h"
#include "danvora/text_file.h"

namespace danvora {

// Walks `line_table` once. Any of the files may be absent; `info_file` is
// the format's ".info" file, else the export file itself.
void write_field_report(TextOutput* export_file, TextOutput* report_file,
                        TextOutput* info_file, int coord_system,
                        ExportFormat format, bool calibration_point,
                        GeoidKind geoid_kind, std::string_view delimiters);

}  // namespace danvora

#endif  // DANVORA_REPORT_H_
