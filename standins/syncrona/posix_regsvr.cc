// posix-regsvr: what regsvr32 does on Windows, for the posix build of a
// component server: loads the library and calls its DllRegisterServer (or,
// with /u, DllUnregisterServer), which write the registry store.
//   posix-regsvr [/u] [/s] LIBRARY
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "pelixo/app/switches.h"
#include "platform/com.h"
#include "platform/switches.h"

int main(int argc, char** argv) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  bool unregister = false;
  bool silent = false;
  const char* library = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "/u") == 0) {
      unregister = true;
    } else if (std::strcmp(argv[i], "/s") == 0) {
      silent = true;
    } else {
      library = argv[i];
    }
  }
  if (library == nullptr) {
    std::fputs("usage: posix-regsvr [/u] [/s] LIBRARY\n", stderr);
    return 2;
  }
  void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::fprintf(stderr, "posix-regsvr: %s\n", dlerror());
    return 3;
  }
  const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto function = reinterpret_cast<platform::ComStatus (*)()>(dlsym(handle, entry));
  if (function == nullptr) {
    std::fprintf(stderr, "posix-regsvr: %s has no %s\n", library, entry);
    dlclose(handle);
    return 4;
  }
  platform::ComStatus status = function();
  dlclose(handle);
  if (status < 0) {
    std::fprintf(stderr, "posix-regsvr: %s failed (0x%08X)\n", entry, static_cast<unsigned>(status));
    return 5;
  }
  if (!silent) std::printf("posix-regsvr: %s of %s succeeded\n", entry, library);
  return 0;
}
