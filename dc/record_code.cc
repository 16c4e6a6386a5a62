#include "dc/record_code.h"

#include "dc/fields.h"

namespace dc {

int RecordCode(std::string_view line) {
  const int32_t number = ParseInteger(line);
  if (number != 0) return number;
  if (!line.empty() && line[0] == '0') return 0;
  // A letter code needs both characters; a shorter line carries none.
  if (line.size() < 2) return kUnlistedCode;
  return 10 * static_cast<unsigned char>(line[0]) +
         static_cast<unsigned char>(line[1]) - 598;
}

std::string_view RecordFlags(std::string_view line) {
  if (line.size() <= 2) return {};
  return line.substr(2, 2);
}

}  // namespace dc
