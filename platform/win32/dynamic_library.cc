#include "platform/dynamic_library.h"

#include <windows.h>
#undef LoadString  // the member of DynamicLibrary, not the macro

#include <vector>

#include "platform/backend.h"

namespace platform {

void DynamicLibrary::Unload::operator()(void* handle) const {
  FreeLibrary(static_cast<HMODULE>(handle));
}

// Without flags LoadLibraryExA loads as LoadLibraryA does.
Expected<DynamicLibrary> DynamicLibrary::Open(const std::string& path,
                                              bool resources_only) {
  DynamicLibrary library;
  library.handle_.reset(LoadLibraryExA(
      path.c_str(), nullptr, resources_only ? LOAD_LIBRARY_AS_DATAFILE : 0));
  if (library.handle_ == nullptr) {
    return Error("Cannot load the library " + path + ": " +
                 backend::LastErrorText());
  }
  return library;
}

void* DynamicLibrary::Symbol(const std::string& name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(
      GetProcAddress(static_cast<HMODULE>(handle_.get()), name.c_str()));
}

std::string DynamicLibrary::LoadString(unsigned id, int max_chars) const {
  if (handle_ == nullptr || max_chars <= 0) return "";
  std::vector<char> buffer(size_t(max_chars) + 1, '\0');
  int n = LoadStringA(static_cast<HINSTANCE>(handle_.get()), id, buffer.data(),
                      max_chars + 1);
  if (n <= 0) return "";
  return std::string(buffer.data(), size_t(n));
}

}  // namespace platform
