// Helpers shared by the fuzz targets: a private scratch folder per process
// (several fuzzers and tests run at once) and writing an input to a file
// for the parsers that take a path.
#ifndef FUZZ_FUZZ_UTIL_H_
#define FUZZ_FUZZ_UTIL_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "pelixo/app/switches.h"
#include "platform/switches.h"

namespace fuzz {

// The folder, created once: under /dev/shm when there is one (no disk
// traffic for millions of small files).
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/pelixo-fuzz-XXXXXX";
    if (mkdtemp(templ.data()) == nullptr) std::abort();
    // Pelixo's registry settings stay private to this run too.
    platform::SetSwitches(pelixo::PelixoSwitches());
    setenv("PELIXO_REGISTRY", (templ + "/registry.reg").c_str(), 1);
    // Removed again when the run ends normally (a crash keeps it to look
    // at); the path outlives the static string for the exit handler.
    static const std::string* const kept = new std::string(templ);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*kept, ignored);
    });
    setenv("PELIXO_BOXES", "stderr", 1);
    unsetenv("PELIXO_FAIL_WRITES");
    return templ;
  }();
  return dir;
}

inline std::string ScratchPath(std::string_view name) {
  return ScratchDir() + "/" + std::string(name);
}

// Writes the bytes as they are; aborts when even that fails, since the run
// would then test nothing.
inline void WriteFile(const std::string& path, const uint8_t* data,
                      size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzz

#endif  // FUZZ_FUZZ_UTIL_H_
