#include "platform/dynamic_library.h"

namespace platform {

std::string LibraryFileName(const std::string& windows_name,
                            const std::string& posix_name) {
#ifdef _WIN32
  (void)posix_name;
  return windows_name;
#else
  (void)windows_name;
  return posix_name;
#endif
}

}  // namespace platform
