// The profile functions of Windows themselves.
#include "platform/profile.h"

#include <windows.h>

#include <string_view>

namespace platform {
namespace {

// A file name without a folder would be looked for in the Windows folder;
// the callers always mean a file relative to the current folder.
std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) return path;
  return std::string(buffer, n);
}

// Splits a list of NUL-ended names; `length` is what the call returned.
// Empty names are left out (they would end the list early).
std::vector<std::string> SplitNames(const std::vector<char>& buffer,
                                    DWORD length) {
  std::vector<std::string> names;
  std::string_view list(buffer.data(), length);
  while (!list.empty()) {
    size_t nul = list.find('\0');
    std::string_view name = list.substr(0, nul);
    if (!name.empty()) names.emplace_back(name);
    if (nul == std::string_view::npos) break;
    list.remove_prefix(nul + 1);
  }
  return names;
}

}  // namespace

std::vector<std::string> ProfileSectionNames(const std::string& path) {
  std::vector<char> buffer(kProfileNameListBytes, '\0');
  DWORD n = GetPrivateProfileSectionNamesA(buffer.data(), buffer.size(),
                                           FullPath(path).c_str());
  return SplitNames(buffer, n);
}

std::vector<std::string> ProfileKeyNames(const std::string& path,
                                         const std::string& section) {
  std::vector<char> buffer(kProfileNameListBytes, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "",
                                     buffer.data(), buffer.size(),
                                     FullPath(path).c_str());
  return SplitNames(buffer, n);
}

std::string ProfileString(const std::string& path, const std::string& section,
                          const std::string& key,
                          const std::string& default_value) {
  // Read into more room than a value may hold and cut to 2047 characters
  // here: a quoted value that just fills the buffer loses its last character
  // to the quote removal under wine.
  std::vector<char> buffer(2 * kProfileValueBytes, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(),
                                     default_value.c_str(), buffer.data(),
                                     buffer.size(), FullPath(path).c_str());
  if (n > DWORD(kProfileValueBytes - 1)) n = kProfileValueBytes - 1;
  return std::string(buffer.data(), n);
}

int ProfileInt(const std::string& path, const std::string& section,
               const std::string& key, int default_value) {
  return static_cast<int>(GetPrivateProfileIntA(
      section.c_str(), key.c_str(), default_value, FullPath(path).c_str()));
}

}  // namespace platform
