#include "platform/profile.h"

#include <string_view>

#include "platform/backend.h"

namespace platform::backend {

std::string ProfileDefault(const std::string& default_value) {
  // The profile functions drop trailing blanks of the default.
  std::string_view fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return std::string(fallback.substr(0, kProfileValueBytes - 1));
}

}  // namespace platform::backend
