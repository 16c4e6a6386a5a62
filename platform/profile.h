// Reading INI files with the rules of the Windows profile functions. The
// win32 backend calls them; the posix backend is our own reader that gives
// the same results (section and key names matched without regard to case,
// the first of two equal keys wins, a pair of enclosing quotes removed,
// comment lines skipped, the name lists cut to 16384 bytes and a value to
// 2047 characters).
#ifndef PLATFORM_PROFILE_H_
#define PLATFORM_PROFILE_H_

#include <string>
#include <vector>

namespace platform {

// Buffer sizes of the profile calls the programs make.
inline constexpr int kProfileNameListBytes = 16384;
inline constexpr int kProfileValueBytes = 2048;

// The section names of `path` in file order; empty when the file is missing
// or holds no section. The list is cut to what fits kProfileNameListBytes
// (each name followed by a NUL, the list by a second NUL).
std::vector<std::string> ProfileSectionNames(const std::string& path);

// The key names of one section in file order, cut like the section list.
std::vector<std::string> ProfileKeyNames(const std::string& path,
                                         const std::string& section);

// The value of `key` in `section`, or `default_value` when either is absent;
// at most kProfileValueBytes - 1 characters.
std::string ProfileString(const std::string& path, const std::string& section,
                          const std::string& key,
                          const std::string& default_value);

// The value of `key` read as an integer the way GetPrivateProfileIntA does,
// or `default_value` when the key is absent.
int ProfileInt(const std::string& path, const std::string& section,
               const std::string& key, int default_value);

}  // namespace platform

#endif  // PLATFORM_PROFILE_H_
