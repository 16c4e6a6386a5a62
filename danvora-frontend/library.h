// The Danvora library as the front end and danvora-cli use it: the file
// "Danvora.dll" (libdanvora.so on posix) beside the running program, loaded
// at the first call, and its two entries bound by name.
#ifndef DANVORA_FRONTEND_LIBRARY_H_
#define DANVORA_FRONTEND_LIBRARY_H_

#include <cstdint>
#include <string>

#include "platform/dynamic_library.h"
#include "platform/error.h"

namespace danvora_frontend {

class DanvoraLibrary {
 public:
  // The library's results: 0, -1 (dctrans: fitted in the field) or 255.
  // Fails (with a Danish text for the user) when the library or the entry
  // cannot be loaded. Numbers travel as the library's 16-bit values.
  platform::Expected<int16_t> Dctrans(const std::string& dc_file,
                                      const std::string& out_file,
                                      const std::string& report_file,
                                      int format,
                                      const std::string& separators,
                                      const std::string& ini_file);
  platform::Expected<int16_t> Koordles(const std::string& in_file,
                                       const std::string& out_file, int format,
                                       int sign);

  // The path the library is loaded from.
  static std::string Path();

 private:
  platform::Expected<void*> Entry(const char* name);

  platform::DynamicLibrary library_;
};

}  // namespace danvora_frontend

#endif  // DANVORA_FRONTEND_LIBRARY_H_
