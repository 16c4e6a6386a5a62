#include "platform/dynamic_library.h"

#include <utility>

namespace platform {

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    DynamicLibrary old(std::move(*this));
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

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
