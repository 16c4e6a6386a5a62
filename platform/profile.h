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

#include "platform/impl_ptr.h"

namespace platform {

// Buffer sizes of the profile calls the programs make.
inline constexpr int kProfileNameListBytes = 16384;
inline constexpr int kProfileValueBytes = 2048;

// An INI file read once, every lookup answered from what was read (posix:
// parsed once, names found by hashing; win32: the profile functions, which
// keep their own cache of the file). A file that is missing, cannot be read
// or is no regular file (a folder, FIFO or device) gives what a missing file
// gives: no sections, every value its default.
class Profile {
 public:
  static Profile Load(const std::string& path);

  // The section names in file order; empty when the file is missing or
  // holds no section. The list is cut to what fits kProfileNameListBytes
  // (each name followed by a NUL, the list by a second NUL).
  std::vector<std::string> SectionNames() const;
  // The key names of one section in file order, cut like the section list.
  std::vector<std::string> KeyNames(const std::string& section) const;
  // The value of `key` in `section`, or `default_value` when either is
  // absent; at most kProfileValueBytes - 1 characters.
  std::string String(const std::string& section, const std::string& key,
                     const std::string& default_value) const;
  // The value of `key` read as an integer the way GetPrivateProfileIntA
  // does, or `default_value` when the key is absent.
  int Int(const std::string& section, const std::string& key,
          int default_value) const;

  class Impl;

 private:
  explicit Profile(ImplPtr<Impl> impl) : impl_(std::move(impl)) {}
  ImplPtr<Impl> impl_;
};

}  // namespace platform

#endif  // PLATFORM_PROFILE_H_
