// The profile functions of Windows themselves.
#include "platform/profile.h"

#include <windows.h>

#include <string_view>

#include "platform/backend.h"
#include "platform/files.h"

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

class Profile::Impl {
 public:
  // The profile functions read the file themselves; it is checked through
  // the opener first, so that a folder, FIFO or device is refused as on
  // every other input (a missing file stays what the functions make of it).
  explicit Impl(const std::string& path)
      : path_(FullPath(path)), readable_(InputFile::Open(path).ok()) {}

  const std::string& path() const { return path_; }
  bool readable() const { return readable_; }

 private:
  std::string path_;
  bool readable_;
};

Profile Profile::Load(const std::string& path) {
  return Profile(MakeImpl<Impl>(path));
}

std::vector<std::string> Profile::SectionNames() const {
  if (!impl_->readable()) return {};
  std::vector<char> buffer(kProfileNameListBytes, '\0');
  DWORD n = GetPrivateProfileSectionNamesA(buffer.data(), buffer.size(),
                                           impl_->path().c_str());
  return SplitNames(buffer, n);
}

std::vector<std::string> Profile::KeyNames(const std::string& section) const {
  if (!impl_->readable()) return {};
  std::vector<char> buffer(kProfileNameListBytes, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "",
                                     buffer.data(), buffer.size(),
                                     impl_->path().c_str());
  return SplitNames(buffer, n);
}

std::string Profile::String(const std::string& section, const std::string& key,
                            const std::string& default_value) const {
  if (!impl_->readable()) return backend::ProfileDefault(default_value);
  // Read into more room than a value may hold and cut to 2047 characters
  // here: a quoted value that just fills the buffer loses its last character
  // to the quote removal under wine.
  std::vector<char> buffer(2 * kProfileValueBytes, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(),
                                     default_value.c_str(), buffer.data(),
                                     buffer.size(), impl_->path().c_str());
  if (n > DWORD(kProfileValueBytes - 1)) n = kProfileValueBytes - 1;
  return std::string(buffer.data(), n);
}

int Profile::Int(const std::string& section, const std::string& key,
                 int default_value) const {
  if (!impl_->readable()) return default_value;
  return static_cast<int>(GetPrivateProfileIntA(
      section.c_str(), key.c_str(), default_value, impl_->path().c_str()));
}

}  // namespace platform
