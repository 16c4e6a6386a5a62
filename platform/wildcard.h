// Matching a file name against a directory-search pattern.
#ifndef PLATFORM_WILDCARD_H_
#define PLATFORM_WILDCARD_H_

#include <string_view>
#include <vector>

#include "platform/files.h"

namespace platform {

// True when `name` matches `pattern`: '*' stands for any run of characters,
// '?' for one character, letters a to z match without regard to case. As in
// a Windows directory search, a pattern ending in ".*" also matches names
// without that extension ("*.*" matches every name).
bool WildcardMatch(std::string_view pattern, std::string_view name);
// True when a search for `pattern` lists the entry `name`: it matches, and
// it is neither "." nor "..".
bool SearchLists(std::string_view pattern, std::string_view name);

// Puts directory entries in the order of their names, letters compared
// without regard to case, so that a search lists the same on every system.
void SortByName(std::vector<FileEntry>& entries);

}  // namespace platform

#endif  // PLATFORM_WILDCARD_H_
