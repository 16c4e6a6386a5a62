// The DC job a send builds: the header and job-name records, the
// coordinate-system records copied from the options' coordinate-system
// definition file, and one keyed-in point record per point. The job is a
// list of lines without line ends; values travel as text and no unit is
// converted (the unit settings only become digits of the header).
#ifndef PELIXO_CORE_DC_WRITER_H_
#define PELIXO_CORE_DC_WRITER_H_

#include <string>
#include <string_view>
#include <vector>

#include "pelixo/core/line_list.h"
#include "pelixo/core/pelixo_records.h"
#include "platform/error.h"
#include "platform/locale.h"

namespace pelixo {

// The DC version numbers of the options' version list.
inline constexpr int kDCVersion107 = 1070;
inline constexpr int kDCVersion100 = 1000;
inline constexpr int kDCVersion77 = 770;
inline constexpr int kDCVersion75 = 750;

// What the header and the coordinate-system copy take from the options.
struct DCJobSettings {
  int angle_unit_position = 1;        // 0 degrees, 1 gons, 2 mils, -1 none
  int coordinate_unit_position = 0;   // 0 metres, 1 feet, 2 US feet, -1 none
  std::string coordinate_system_file;  // empty: no coordinate system
};

// Normalises a date text "dd-<month>-yy hh:nn ": the month name is cut to
// 3 characters and the whole to 16 characters.
std::string FormatDCDate(std::string_view date_text);
// The header's date text for `time`, with the locale's short month name.
std::string DCDateText(const platform::LocalTime& time);

// Appends the header record and the job record.
void WriteJobHeader(LineList& job, int dc_version,
                    const DCJobSettings& settings, std::string_view job_name,
                    const platform::LocalTime& now);

enum class CoordinateSystemCopy {
  kNotNamed,  // the option is empty
  kCopied,    // the file was found and its records appended
  kNotFound,  // named, but neither as written nor in the program's folder
};

// Appends the coordinate-system records of `settings.coordinate_system_file`
// for `dc_version`; the file is looked for as written, then in
// `program_directory` (with its trailing separator). Fails only when a
// found file cannot be read.
platform::Expected<CoordinateSystemCopy> CopyCoordinateSystemRecords(
    LineList& job, int dc_version,
    const DCJobSettings& settings, const std::string& program_directory);

}  // namespace pelixo

#endif  // PELIXO_CORE_DC_WRITER_H_
