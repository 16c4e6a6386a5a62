// A folder of the test's own under the system's temporary folder, removed
// with everything in it at the end.
#ifndef TESTS_SUPPORT_SCOPED_TEMP_DIR_H_
#define TESTS_SUPPORT_SCOPED_TEMP_DIR_H_

#include <string>
#include <string_view>

namespace tests_support {

class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  // The folder, with a trailing separator.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // Writes `bytes` to the file `name` of the folder and returns its path.
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::string path_;
};

}  // namespace tests_support

#endif  // TESTS_SUPPORT_SCOPED_TEMP_DIR_H_
