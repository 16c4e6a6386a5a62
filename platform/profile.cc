#include "platform/profile.h"

#include <string_view>
#include <utility>

#include "platform/backend.h"

namespace platform {

// The constructors and destructor of Profile are the backends', beside
// their Impl.

std::vector<std::string> ProfileSectionNames(const std::string& path) {
  return Profile::Load(path).SectionNames();
}

std::vector<std::string> ProfileKeyNames(const std::string& path,
                                         const std::string& section) {
  return Profile::Load(path).KeyNames(section);
}

std::string ProfileString(const std::string& path, const std::string& section,
                          const std::string& key,
                          const std::string& default_value) {
  return Profile::Load(path).String(section, key, default_value);
}

int ProfileInt(const std::string& path, const std::string& section,
               const std::string& key, int default_value) {
  return Profile::Load(path).Int(section, key, default_value);
}

namespace backend {

std::string ProfileDefault(const std::string& default_value) {
  // The profile functions drop trailing blanks of the default.
  std::string_view fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return std::string(fallback.substr(0, kProfileValueBytes - 1));
}

}  // namespace backend
}  // namespace platform
