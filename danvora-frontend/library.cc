#include "danvora-frontend/library.h"

#include <utility>

#include "danvora/interface.h"
#include "platform/files.h"
#include "platform/locale.h"

namespace danvora_frontend {

std::string DanvoraLibrary::Path() {
  return platform::ExecutableDirectory() +
         platform::LibraryFileName("Danvora.dll", "libdanvora.so");
}

platform::Expected<void*> DanvoraLibrary::Entry(const char* name) {
  if (!library_.loaded()) {
    platform::Expected<platform::DynamicLibrary> loaded =
        platform::DynamicLibrary::Load(Path());
    if (!loaded) {
      return platform::Error(platform::OwnWords("Kunne ikke indl\xe6se ") + Path());
    }
    library_ = std::move(*loaded);
  }
  void* entry = library_.Symbol(name);
  if (entry == nullptr) {
    return platform::Error(std::string("Kunne ikke finde ") + name + " i " +
                           Path());
  }
  return entry;
}

platform::Expected<int16_t> DanvoraLibrary::Dctrans(
    const std::string& dc_file, const std::string& out_file,
    const std::string& report_file, int format, const std::string& separators,
    const std::string& ini_file) {
  platform::Expected<void*> entry = Entry("dctrans");
  if (!entry) return entry.error();
  auto dctrans = reinterpret_cast<danvora::DctransEntry>(*entry);
  return dctrans(dc_file.c_str(), out_file.c_str(), report_file.c_str(),
                 static_cast<int16_t>(format), separators.c_str(),
                 ini_file.c_str());
}

platform::Expected<int16_t> DanvoraLibrary::Koordles(
    const std::string& in_file, const std::string& out_file, int format,
    int sign) {
  platform::Expected<void*> entry = Entry("koordles");
  if (!entry) return entry.error();
  auto koordles = reinterpret_cast<danvora::KoordlesEntry>(*entry);
  return koordles(in_file.c_str(), out_file.c_str(),
                  static_cast<int16_t>(format), static_cast<int16_t>(sign));
}

}  // namespace danvora_frontend
