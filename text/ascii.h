// ASCII text rules every part shares: trimming, case folding of the letters
// a to z only (never by locale), and runs of blanks skipped eight at a time
// (the fixed-column fields of DC lines are mostly blank).
#ifndef TEXT_ASCII_H_
#define TEXT_ASCII_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace text {

// Characters with a code from 0 to 32: what Trim removes.
inline bool IsTrimmable(char c) { return static_cast<unsigned char>(c) <= 32; }

inline std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsTrimmable(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmable(text.back())) text.remove_suffix(1);
  return text;
}

// The white space of the C library's isspace in the "C" locale.
inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperAscii(c);
  return result;
}

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

inline bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// The position of `part` in `text` ignoring case, or npos.
inline size_t FindIgnoreCase(std::string_view text, std::string_view part) {
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (EqualsIgnoreCase(text.substr(i, part.size()), part)) return i;
  }
  return std::string_view::npos;
}

// Order of texts ignoring case, as unsigned bytes with a to z folded to upper
// case.
inline bool LessIgnoreCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto y = static_cast<unsigned char>(UpperAscii(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

// FNV-1a over the upper-cased bytes: equal for texts EqualsIgnoreCase finds
// equal.
inline uint64_t HashIgnoreCase(std::string_view text,
                               uint64_t seed = 14695981039346656037ull) {
  uint64_t hash = seed;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(UpperAscii(c))) * 1099511628211ull;
  return hash;
}

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
  return SkipBlanks(text.data(), text.data() + text.size()) == text.data() + text.size();
}

// `text` without the C white space at its start.
inline std::string_view SkipCSpace(std::string_view text) {
  const char* const end = text.data() + text.size();
  const char* at = SkipBlanks(text.data(), end);
  while (at != end && IsCSpace(*at)) ++at;
  return {at, static_cast<size_t>(end - at)};
}

}  // namespace text

#endif  // TEXT_ASCII_H_
