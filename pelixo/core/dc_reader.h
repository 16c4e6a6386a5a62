// Pelixo's own small reader of a received DC file: the point records 69
// (keyed-in points with co-ordinates) and 66 (measured points, whose
// co-ordinates come from the job's points file), the records that follow a
// point (B6 code, C6 satellites and PDOP, 13) and its attribute records.
// Columns count from 0; values stay as the file writes them.
#ifndef PELIXO_CORE_DC_READER_H_
#define PELIXO_CORE_DC_READER_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "pelixo/core/dc_reader_numbers.h"
#include "pelixo/core/text.h"
#include "pelixo/core/tic_points.h"

namespace pelixo {

// The values of one point; kNullReal and kNullInteger mark missing ones.
// The texts are views into the DC file or the points file.
struct DCPointValues {
  std::string_view name;
  std::string_view code;
  double northing = kNullReal;
  double easting = kNullReal;
  double elevation = kNullReal;
  // The co-ordinates as the DC file writes them (trimmed), or empty: a value
  // written with no fewer decimals than it has needs no formatting.
  std::string_view northing_text;
  std::string_view easting_text;
  std::string_view elevation_text;
  double hz_precision = kNullReal;
  double vt_precision = kNullReal;
  double pdop = kNullReal;
  int32_t satellites = kNullInteger;
};

// The points of a DC file's whole text, in one pass over its lines.
class DCPointReader {
 public:
  // `text` and `points` (may be null: no points file) must outlive the
  // reader and the values it gives.
  DCPointReader(std::string_view text, const TTICPointhandler* points);

  // True when the file has no lines at all.
  bool empty() const { return empty_; }

  // The next point that is to be written: a 69 record with readable
  // co-ordinates, or a 66 record that the points file holds (which gives
  // its code and co-ordinates). `*attributes` gets the texts of the
  // point's attribute records when an 87 record lies between it and the
  // next point record, else nothing. False after the last point.
  bool Next(DCPointValues* point, std::vector<std::string_view>* attributes);

  // Measured points so far that the points file does not hold (or that
  // there is no points file for).
  int measured_without_coordinates() const { return measured_without_coordinates_; }

 private:
  // Moves on to the next line; false at the end.
  bool Advance();
  // Reads the records after a point record up to the next point record,
  // which becomes the current line.
  void ReadFollowers(bool measured, DCPointValues* point,
                     std::vector<std::string_view>* attributes);

  LineReader lines_;
  const TTICPointhandler* points_;
  std::string_view line_;  // the current line
  bool has_line_ = false;
  bool empty_ = true;
  // The order of northing and easting in the 69 records is exchanged:
  // column 44 of the first line is not "1".
  bool exchanged_ = true;
  int measured_without_coordinates_ = 0;
};

// An attribute text's name (its first 20 characters) and value (the rest),
// both trimmed.
std::string_view AttributeName(std::string_view attribute);
std::string_view AttributeValue(std::string_view attribute);

}  // namespace pelixo

#endif  // PELIXO_CORE_DC_READER_H_
