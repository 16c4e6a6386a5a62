// Pelixo's text files: they split into lines at CR LF, LF or a lone CR, and
// a NUL ends the text (text::kPelixoLines); numbers and file names.
#ifndef PELIXO_CORE_TEXT_H_
#define PELIXO_CORE_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "text/line_reader.h"

namespace pelixo {

// The lines of a whole text; views into `text`. A NUL ends the text; a final
// line end does not make an empty last line.
std::vector<std::string_view> SplitLines(std::string_view text);

// At least the number of lines of a text (one more than its line feeds):
// room enough for a list of them.
size_t CountLines(std::string_view text);

// The same lines one after the other, for a single pass over a large text
// that needs no list of them.
using LineReader = text::LineReader<text::kPelixoLines>;

// Parses an optionally signed decimal integer, or a hexadecimal one after a
// leading "$", over the whole of `text` (no blanks). False when it is not a
// valid 32-bit integer.
bool ParseInteger(std::string_view text, int* value);

// A decimal real number over the whole of `text`: optional sign, digits with
// an optional "." and an optional exponent; no "inf", "nan" or hexadecimal
// forms. Characters of `leading_blanks` (" " or " \t") may come first. False
// for anything else, including numbers beyond the range of a double.
bool ParseReal(std::string_view text, double* value, std::string_view leading_blanks = {});

// Appends the bytes of printf's "%.*f" of the number that `text` reads as,
// without a round trip through a double, where the text is a plain decimal ("-12.5",
// "6100000.000": an optional minus sign, digits without a leading zero, and
// "." or `decimal_separator` followed by digits) of at most `decimals`
// decimals and at most 15 digits in the result: a double holds such a
// number closely enough that "%.*f" gives its digits back, zeros appended.
// False (nothing appended) for every other text.
bool AppendFixedDecimalsOfText(std::string& out, std::string_view text, int decimals,
                               char decimal_separator = '.');

}  // namespace pelixo

#endif  // PELIXO_CORE_TEXT_H_
