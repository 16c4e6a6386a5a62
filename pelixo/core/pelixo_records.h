// The records Pelixo writes into a DC job on a send: the header (00), the job
// name (10) and one keyed-in point (69) per point, formed from given values,
// and the filter that picks the coordinate-system records copied into a job.
// Also the two padding operations the writer and the ASCII export share.
#ifndef PELIXO_CORE_PELIXO_RECORDS_H_
#define PELIXO_CORE_PELIXO_RECORDS_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace pelixo {

// Width of the text fields of records 10 and 69.
inline constexpr size_t kPelixoFieldWidth = 16;
inline constexpr size_t kPelixoHeaderLength = 46;
inline constexpr size_t kPelixoJobRecordLength = 26;
inline constexpr size_t kPelixoPointRecordLength = 86;

// Widths are 8-bit counts: anything above 255 is taken as 255 and anything
// below 0 as 0.
size_t PaddingWidth(long long width);

// Cuts `text` to `width` characters and appends blanks up to `width`; when
// `fill` is not a blank, every blank of the result's end (the text's own
// trailing blanks included) becomes `fill`.
std::string PadLeftAligned(std::string_view text, long long width,
                           char fill = ' ');
// Cuts `text` to `width` characters and puts blanks before it up to
// `width`; when `fill` is not a blank, every blank of the result's start
// becomes `fill`.
std::string PadRightAligned(std::string_view text, long long width,
                            char fill = ' ');

// The 9-character version text of the header for DC version `dc_version`
// (1070, 1000, 770, 750 or whatever number the device asks for).
std::string_view PelixoVersionText(int dc_version);

// The one-digit unit code of a unit list position (0, 1, 2 give "1" to "3");
// '0' for no selection (or a position the list does not have).
char PelixoUnitDigit(int list_position);

// Record 00. `date_text` is the 16-character creation date and time (cut
// or padded with blanks to 16); the unit positions are those of the
// options' lists, -1 for none.
std::string PelixoHeaderRecord(int dc_version, std::string_view date_text,
                               int angle_unit_position,
                               int coordinate_unit_position);

// Record 10: the job name cut to 16 characters, left-aligned.
std::string PelixoJobRecord(std::string_view job_name);

// The texts of a keyed-in point, as they go into record 69.
struct PelixoPointTexts {
  std::string_view name, northing, easting, elevation, code;
};

// Record 69, flags "KI", method 1 and class 1: the name right-aligned, the
// three co-ordinate texts and the code left-aligned, each in 16 columns,
// appended to `out`.
void AppendPelixoPointRecord(std::string& out, const PelixoPointTexts& point);

// True when a line of a coordinate-system definition file is copied into a
// job for `dc_version`: 49, 50, 64, 65, 74, 81, C8, D0, D5, D8 always; 78
// only above 770; D4 only below 1000.
bool IsPelixoCoordinateSystemRecord(std::string_view line, int dc_version);

}  // namespace pelixo

#endif  // PELIXO_CORE_PELIXO_RECORDS_H_
