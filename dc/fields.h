// Decoding the fixed-column fields of a DC record. Columns count from 0. A
// field is cut from the line at its column and width; where the line ends
// inside the field the field is what remains, and a field that starts at or
// after the end of the line is empty. Nothing here reads past a line.
#ifndef DC_FIELDS_H_
#define DC_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dc/units.h"

namespace dc {

// Width of a Number, Distance or Angle field.
inline constexpr size_t kNumberWidth = 16;

// The Digit value of a column beyond the end of the line: it matches no code.
inline constexpr int kDigitBeyondLine = -'0';

// The part of `line` from `column` for at most `width` characters.
std::string_view FieldSlice(std::string_view line, size_t column,
                            size_t width);

// The Windows-1252 text of an escaped DC text: "*A" Å, "*E" Æ, "*O" Ø,
// "*a" å, "*e" æ, "*o" ø; an asterisk before any other character, or at the
// end, becomes "x" and the next character stays.
std::string Unescape(std::string_view text);

// A Text field: trailing, then leading blanks removed, then unescaped.
std::string DecodeText(std::string_view line, size_t column, size_t width);

// The longest decimal number at the start of `text` after white space, as
// the C library's strtod reads it in the "C" locale (no hexadecimal, no
// infinities; a number too large is the largest double); 0 when nothing
// converts. Never depends on the locale. `used`, when given, is set to the
// number of characters used (0 when none).
double ParseNumber(std::string_view text, size_t* used = nullptr);

// The leading decimal integer of `text` (white space and a sign accepted),
// held to the 32-bit range.
int32_t ParseInteger(std::string_view text);

// A Number field (16 wide): converted as it stands, no units.
double DecodeNumber(std::string_view line, size_t column);

// An Integer field.
int32_t DecodeInteger(std::string_view line, size_t column, size_t width);

// A Digit field: the character minus "0"; a blank gives -16, a column past
// the line kDigitBeyondLine.
int DecodeDigit(std::string_view line, size_t column);

// A Distance field in metres: kMissing when all 16 characters are blanks or
// the value is below -9000000, else scaled by the distance unit.
double DecodeDistance(std::string_view line, size_t column,
                      int distance_unit);

// An Angle field in gon: missing as for a distance, else scaled by the
// angle unit.
double DecodeAngle(std::string_view line, size_t column, int angle_unit);

struct Triple {
  double x = 0, y = 0, z = 0;
};

// Three distances at column, column+16, column+32 read as a, b, h and
// stored as (a, b, h) when the coordinate order is 2, else as (b, a, h).
Triple DecodeTriple(std::string_view line, size_t column, const Units& units);

}  // namespace dc

#endif  // DC_FIELDS_H_
