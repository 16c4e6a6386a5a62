#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace platform {
namespace {

std::string LastDlError() {
  const char* text = dlerror();
  return text ? text : "unknown error";
}

}  // namespace

void DynamicLibrary::Unload::operator()(void* handle) const { dlclose(handle); }

// A shared object has no string table: loading it for its resources is an
// ordinary load, and LoadString gives nothing.
Expected<DynamicLibrary> DynamicLibrary::Open(const std::string& path,
                                              bool /*resources_only*/) {
  DynamicLibrary library;
  library.handle_.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (library.handle_ == nullptr) {
    return Error("Cannot load the library " + path + ": " + LastDlError());
  }
  return library;
}

void* DynamicLibrary::Symbol(const std::string& name) const {
  if (handle_ == nullptr) return nullptr;
  return dlsym(handle_.get(), name.c_str());
}

std::string DynamicLibrary::LoadString(unsigned /*id*/, int /*max_chars*/) const {
  return "";
}

}  // namespace platform
