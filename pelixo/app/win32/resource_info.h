// The version resource of a program file, as the about box shows it: the
// strings of the table "040904E4" (US English, code page 1252) and the four
// numbers of the fixed file version.
#ifndef PELIXO_APP_WIN32_RESOURCE_INFO_H_
#define PELIXO_APP_WIN32_RESOURCE_INFO_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelixo::window {

struct VersionNumbers {
  uint16_t major = 0, minor = 0, release = 0, build = 0;
};

class TResourceInfo {
 public:
  // Reads the whole version resource of `file_name`; a file without one (or
  // one that cannot be read) answers nothing to every question.
  explicit TResourceInfo(const std::string& file_name);

  // The value `name` of "\StringFileInfo\040904E4\", up to its first zero
  // character; nothing when it is missing.
  std::optional<std::string> ReadVersionString(const std::string& name) const;
  // From the fixed file information: major and minor from the most
  // significant double word, release and build from the least.
  std::optional<VersionNumbers> ReadVersionNumbers() const;

 private:
  std::vector<uint8_t> data_;
};

// The full path of the running program's own file.
std::string ProgramFileName();

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_RESOURCE_INFO_H_
