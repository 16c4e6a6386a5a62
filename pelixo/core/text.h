// Pelixo's text rules: trimming removes every character with a code from 0
// to 32 at both ends; comparisons without regard to case fold only a to z;
// text files split into lines at CR LF, LF or a lone CR, and a NUL ends the
// text.
#ifndef PELIXO_CORE_TEXT_H_
#define PELIXO_CORE_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace pelixo {

inline bool IsTrimmable(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

inline std::string_view TrimLeft(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsTrimmable(text[start])) ++start;
  return text.substr(start);
}

inline std::string_view TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsTrimmable(text[end - 1])) --end;
  return text.substr(0, end);
}

inline std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

inline char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string UpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// The lines of a whole text; views into `text`. A NUL ends the text; a final
// line end does not make an empty last line.
std::vector<std::string_view> SplitLines(std::string_view text);

// At least the number of lines of a text (one more than its line feeds):
// room enough for a list of them.
size_t CountLines(std::string_view text);

// The same lines one after the other, for a single pass over a large text
// that needs no list of them.
class LineReader {
 public:
  explicit LineReader(std::string_view text);
  // The next line, a view into the text; false after the last one.
  bool Next(std::string_view* line);

 private:
  const char* at_ = nullptr;
  const char* end_ = nullptr;
  // The next line feed at or after at_ (or end_): a text of lone CRs is
  // searched for it once, not once per line.
  const char* feed_ = nullptr;
};

// Parses an optionally signed decimal integer, or a hexadecimal one after a
// leading "$", over the whole of `text` (no blanks). False when it is not a
// valid 32-bit integer.
bool ParseInteger(std::string_view text, int* value);

// A decimal real number over the whole of `text`: optional sign, digits with
// an optional "." and an optional exponent; no "inf", "nan" or hexadecimal
// forms. Characters of `leading_blanks` (" " or " \t") may come first. False
// for anything else, including numbers beyond the range of a double.
bool ParseReal(std::string_view text, double* value, std::string_view leading_blanks = {});

// Appends the bytes of printf's "%.*f" for a finite `x` and `decimals` from
// 0 up; false (nothing appended) for anything else.
bool AppendFixedDecimals(std::string& out, double x, int decimals);

// The same for the number that `text` reads as, without a round trip
// through a double, where the text is a plain decimal ("-12.5",
// "6100000.000": an optional minus sign, digits without a leading zero, and
// "." or `decimal_separator` followed by digits) of at most `decimals`
// decimals and at most 15 digits in the result: a double holds such a
// number closely enough that "%.*f" gives its digits back, zeros appended.
// False (nothing appended) for every other text.
bool AppendFixedDecimalsOfText(std::string& out, std::string_view text, int decimals,
                               char decimal_separator = '.');

}  // namespace pelixo

#endif  // PELIXO_CORE_TEXT_H_
