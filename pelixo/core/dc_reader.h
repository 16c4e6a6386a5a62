// Pelixo's own small reader of a received DC file: the point records 69
// (keyed-in points with co-ordinates) and 66 (measured points, whose
// co-ordinates come from the job's points file), the records that follow a
// point (B6 code, C6 satellites and PDOP, 13) and its attribute records.
// Columns count from 0; values stay as the file writes them.
#ifndef PELIXO_CORE_DC_READER_H_
#define PELIXO_CORE_DC_READER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pelixo/core/dc_reader_numbers.h"
#include "pelixo/core/tic_points.h"

namespace pelixo {

using DCLines = std::vector<std::string_view>;

// The values of one point; kNullReal and kNullInteger mark missing ones.
struct DCPointValues {
  std::string name;
  std::string code;
  double northing = kNullReal;
  double easting = kNullReal;
  double elevation = kNullReal;
  double hz_precision = kNullReal;
  double vt_precision = kNullReal;
  double pdop = kNullReal;
  int32_t satellites = kNullInteger;
};

// True when the order of northing and easting in the 69 records is
// exchanged: column 44 of the first line is not "1".
bool CoordinatesExchanged(const DCLines& lines);

// True when the line at `index` starts a point that is to be written. A
// measured point (66) takes its code and co-ordinates from `points` (may be
// null: no points file); when it is not found there, the result is false
// and `*measured_without_coordinates` (when given) is set.
bool ReadPointAt(const DCLines& lines, size_t index, bool exchanged,
                 const TTICPointhandler* points, DCPointValues* point,
                 bool* measured_without_coordinates = nullptr);

// True when an 87 record lies between the point at `index` and the next
// point record.
bool HasAttributeMarker(const DCLines& lines, size_t index);

// The attribute texts of the point at `index`, in file order.
std::vector<std::string> CollectAttributes(const DCLines& lines, size_t index);

// An attribute text's name (its first 20 characters) and value (the rest),
// both trimmed.
std::string_view AttributeName(std::string_view attribute);
std::string_view AttributeValue(std::string_view attribute);

}  // namespace pelixo

#endif  // PELIXO_CORE_DC_READER_H_
