#include "platform/wildcard.h"

#include <algorithm>
#include <cstddef>

#include "text/ascii.h"

namespace platform {
namespace {

// Iterative matching with one backtrack point for the last '*': linear in
// practice and never recursive, whatever the pattern.
bool Match(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0;
  size_t star = std::string_view::npos, star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || text::UpperAscii(pattern[p]) == text::UpperAscii(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (Match(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos) {
    return Match(pattern.substr(0, pattern.size() - 2), name);
  }
  return false;
}

bool SearchLists(std::string_view pattern, std::string_view name) {
  return name != "." && name != ".." && WildcardMatch(pattern, name);
}

void SortByName(std::vector<FileEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const FileEntry& a, const FileEntry& b) {
                     return text::LessIgnoreCase(a.name, b.name);
                   });
}

}  // namespace platform
