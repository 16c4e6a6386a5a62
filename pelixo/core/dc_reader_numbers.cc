#include "pelixo/core/dc_reader_numbers.h"

#include <limits>

namespace pelixo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseInt32(std::string_view text, int32_t* value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  int64_t result = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    result = result * 10 + (c - '0');
    if (result > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) return false;
  }
  if (negative) result = -result;
  if (result < std::numeric_limits<int32_t>::min() ||
      result > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  *value = static_cast<int32_t>(result);
  return true;
}

}  // namespace pelixo
