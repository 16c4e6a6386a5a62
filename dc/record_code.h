// Record codes and flags of a DC line. A DC line starts with a two-character
// record code and two flag characters; the code is the number of the
// two-digit records ("08" is 8) or, for a letter and a digit, 100 + 10 x
// (letter - A) + digit ("B6" is 116).
#ifndef DC_RECORD_CODE_H_
#define DC_RECORD_CODE_H_

#include <string_view>

namespace dc {

// The code of a line whose record code no table lists: returned for lines
// too short to carry a code.
inline constexpr int kUnlistedCode = 999;

// The record code of a whole line. The start of the line is read as a
// decimal integer first (leading white space and a sign accepted), so digits
// in the flag columns join the number; when that gives 0 and column 0 is not
// "0", the code is 10 x column 0 + column 1 - 598.
int RecordCode(std::string_view line);

// The code of a record name such as "08" or "B6", for case labels.
constexpr int Code(std::string_view name) {
  if (name.size() != 2) return kUnlistedCode;
  const char a = name[0], b = name[1];
  if (a >= '0' && a <= '9') {
    int n = a - '0';
    if (b >= '0' && b <= '9') n = n * 10 + (b - '0');
    if (n != 0 || a == '0') return n;
  }
  return 10 * static_cast<unsigned char>(a) + static_cast<unsigned char>(b) -
         598;
}

// Columns 2-3 of a line (shorter when the line ends before column 4).
std::string_view RecordFlags(std::string_view line);

// True when the line starts with the two characters of `name` ("B6"):
// how follow-up records are recognised, case and position exact.
inline bool StartsWithRecord(std::string_view line, std::string_view name) {
  return line.substr(0, name.size()) == name;
}

}  // namespace dc

#endif  // DC_RECORD_CODE_H_
