// Runs of blanks in the fixed-column fields of DC lines, eight characters at
// a time: names and codes sit in wide fields that are mostly blank.
#ifndef DANVORA_BLANKS_H_
#define DANVORA_BLANKS_H_

#include <cstdint>
#include <cstring>
#include <string_view>

namespace danvora {

// Eight blanks, in any byte order.
inline constexpr uint64_t kEightBlanks = 0x2020202020202020ull;

// The first character from `begin` on that is not a blank (`end` if none).
inline const char* SkipBlanks(const char* begin, const char* end) {
  for (uint64_t word; end - begin >= 8; begin += 8) {
    std::memcpy(&word, begin, sizeof word);
    if (word != kEightBlanks) break;
  }
  while (begin != end && *begin == ' ') ++begin;
  return begin;
}

// The end of the text from `begin` to `end` without its trailing blanks.
inline const char* TrimTrailingBlanks(const char* begin, const char* end) {
  for (uint64_t word; end - begin >= 8; end -= 8) {
    std::memcpy(&word, end - 8, sizeof word);
    if (word != kEightBlanks) break;
  }
  while (end != begin && end[-1] == ' ') --end;
  return end;
}

inline bool AllBlanks(std::string_view text) {
  return SkipBlanks(text.data(), text.data() + text.size()) ==
         text.data() + text.size();
}

}  // namespace danvora

#endif  // DANVORA_BLANKS_H_
