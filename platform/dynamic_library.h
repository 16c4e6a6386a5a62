// Loading a dynamic library by path, looking up an entry by name and loading
// a string by id from its string table.
#ifndef PLATFORM_DYNAMIC_LIBRARY_H_
#define PLATFORM_DYNAMIC_LIBRARY_H_

#include <memory>
#include <string>

#include "platform/error.h"

// <windows.h> makes LoadString a macro; the member below keeps its own name
// wherever this header is included.
#ifdef LoadString
#undef LoadString
#endif

namespace platform {

// Unloads the library when it goes.
class DynamicLibrary {
 public:
  static Expected<DynamicLibrary> Load(const std::string& path) {
    return Open(path, false);
  }
  // Loads a library for its resources only (win32: LOAD_LIBRARY_AS_DATAFILE).
  static Expected<DynamicLibrary> LoadResourcesOnly(const std::string& path) {
    return Open(path, true);
  }

  bool loaded() const { return handle_ != nullptr; }
  void* Symbol(const std::string& name) const;
  // The string `id` of the library's string table, at most `max_chars`
  // characters; empty when there is none (posix: always empty).
  std::string LoadString(unsigned id, int max_chars) const;

 private:
  struct Unload {
    void operator()(void* handle) const;
  };

  static Expected<DynamicLibrary> Open(const std::string& path,
                                       bool resources_only);

  std::unique_ptr<void, Unload> handle_;
};

// The platform's file name of a library: "Name.dll" on Windows and
// "libname.so" on posix, given both spellings.
std::string LibraryFileName(const std::string& windows_name,
                            const std::string& posix_name);

}  // namespace platform

#endif  // PLATFORM_DYNAMIC_LIBRARY_H_
