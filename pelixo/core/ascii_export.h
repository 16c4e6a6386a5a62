// The ASCII side of a receive: the points of a received DC file written as
// the lines of a download format definition. Every number is written as the
// DC file has it, with the definition's decimals; no unit is converted.
#ifndef PELIXO_CORE_ASCII_EXPORT_H_
#define PELIXO_CORE_ASCII_EXPORT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pelixo/core/dc_reader.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/line_list.h"
#include "pelixo/core/tic_points.h"
#include "platform/error.h"

namespace pelixo {

// What the value writers need beyond the field: the system's decimal
// separator and the running number of COUNTER fields, which carries over
// from point to point and from job to job within one device receive.
struct ExportContext {
  char decimal_separator = '.';
  int32_t* counter = nullptr;
};

// NAME, NORTHING, EASTING, ELEVATION, CODE, SPACE, TEXT, NEWLINE,
// HZPRECISION, VTPRECISION, PDOP, NBRSATELLITES, ALLATTRIBUTES, COUNTER,
// without regard to case; every other token names an attribute.
enum class ExportToken {
  kName, kNorthing, kEasting, kElevation, kCode, kSpace, kText, kNewline,
  kHzPrecision, kVtPrecision, kPdop, kSatellites, kAllAttributes, kCounter,
  kAttribute,
};
ExportToken ClassifyExportToken(std::string_view token);

// The value writers append to `out`; `source` is the text `x` was read from
// (or empty).
void AppendExportNumber(std::string& out, const TField& field, bool comma_separated, double x,
                        std::string_view source, char pad_character, char decimal_separator);
void AppendExportText(std::string& out, const TField& field, bool comma_separated,
                      std::string_view text, char pad_character);
void AppendAttributeValue(std::string& out, std::string_view text, int32_t decimals,
                          char decimal_separator);

// The definition's field kinds, worked out once for all of a file's points.
std::vector<ExportToken> FieldKinds(const TFormatDefinition& definition);
// One output line; it holds CR LF inside when the definition has NEWLINE
// fields.
void AppendPointLine(std::string& line, const TFormatDefinition& definition,
                     const std::vector<ExportToken>& kinds, const DCPointValues& point,
                     const std::vector<std::string_view>& attributes,
                     const ExportContext& context);

struct ExportLines {
  LineList lines;  // header lines, point lines, footer lines
  // Measured points that the points file does not hold (or that have no
  // points file at all): left out of the lines.
  int measured_without_coordinates = 0;
};

// The whole text of the export of a DC file's whole text, read in one pass.
// A DC file without lines is "List index out of bounds (0)".
platform::Expected<ExportLines> BuildExportLines(const TFormatDefinition& definition,
                                                 std::string_view dc_text,
                                                 const TTICPointhandler* points,
                                                 const ExportContext& context);

}  // namespace pelixo

#endif  // PELIXO_CORE_ASCII_EXPORT_H_
