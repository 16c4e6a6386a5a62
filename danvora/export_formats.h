// The eleven Danish point-file formats and the report listing that shares
// the KX77 columns. The record walk of the field report drives these
// writers point by point; the translation entry opens and commits the files.
//
// Every writer takes its destination as a pointer: an absent file (nullptr)
// makes it return without writing (attribute parsing of the well formats
// still takes place).
#ifndef DANVORA_EXPORT_FORMATS_H_
#define DANVORA_EXPORT_FORMATS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "danvora/format_numbers.h"
#include "danvora/job_state.h"
#include "danvora/text_file.h"

namespace danvora {

// Column-header family of a coordinate system.
enum class CoordFamily {
  kYX,                      // 1, 2, 3, 21
  kNorthEast,               // every other number
  kGeographicEllipsoidal,   // 8, 11
  kGeographicKote,          // 7, 12
};
CoordFamily coord_family(int coord_system);

// The geographic systems 7, 11 and 12: their points get no point lines in
// token mode, and the report lists none of their co-ordinate points.
bool is_geographic_system(int coord_system);

// The name written after "Koordinatsystem: ": the system name table, and
// the local grids by their job-model names.
std::string export_system_name(int coord_system);

// The ".info" path of an export file: the extension of the file name is
// replaced (a name without one gets ".info" appended); the folder is kept.
std::string info_file_path(const std::string& export_path);

// Starts a run: the writer state is put back to its start.
void begin_export_run();

// Opens the ".info" file of GEOCAD, ALT, ARGUS, Komma and SVK (none for the
// other formats, or when it cannot be created). Resets the comment counter.
std::optional<TextOutput> open_info_file(ExportFormat format,
                                         const std::string& export_path);

void write_comment_line(ExportFormat format, std::string_view text,
                        TextOutput* file);
void write_title_line(ExportFormat format, std::string_view text,
                      TextOutput* file);
// SVK and DAS: parses a well attribute; other formats: one info line.
void write_info_line(ExportFormat format, std::string_view text,
                     TextOutput* file);
void write_file_header(ExportFormat format, int coord_system, TextOutput* file);

// Writes (or, for the well formats, buffers) one point. Returns the code as
// the attribute scan sees it afterwards, a part of `code`: LANDCAD and
// GEOCAD cut it at their code separator.
std::string_view write_point_line(ExportFormat format, std::string_view name,
                                  const Triple& triple, std::string_view code,
                                  std::string_view remark, int measure_kind,
                                  TextOutput* file);

// The point line of the report listing (write_point_line of
// ExportFormat::kReportListing), appended to `line` instead of written; it
// names the current point as every point line written does.
void append_report_listing(std::string* line, std::string_view name,
                           const Triple& triple, std::string_view code);

// Ends the file: the pending well of SVK and DAS, the DAS trailer naming
// `export_name`, the "E" of COWI.
void finish_export_file(ExportFormat format, const std::string& export_name,
                        TextOutput* file);

// One point record handed to the export by the record walk.
struct ExportPoint {
  size_t record_index = 0;  // its line in `line_table`
  std::string name;
  Triple triple;
  std::string code;         // the full code text
  std::string method_text;  // how it was obtained; often empty
  int method = 0;           // method code
  int point_class = 0;      // class code
  int measure_kind = 0;     // 1 conventional, 8 GPS
};

// The export step: leaves out copied points and deleted classes, splits the
// code into tokens at `delimiters` (whole-code mode when empty), writes the
// point lines, the info texts (also to `report` as "\nINFO: %s") and the
// attribute lines that follow the point record.
void export_point(ExportFormat format, const ExportPoint& point,
                  std::string_view delimiters, int coord_system,
                  TextOutput* export_file, TextOutput* info_file,
                  TextOutput* report);

}  // namespace danvora

#endif  // DANVORA_EXPORT_FORMATS_H_
