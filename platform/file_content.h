// The whole content of a file for reading, held where moving the object
// keeps views of it valid (a reader keeps views of its lines while the
// content moves between owners): the one holder of a file read whole, each
// reader splitting it under its own line rules (text/line_reader.h). Read
// as ReadWholeFile reads, with its errors. The file is read, not mapped: a
// read error of a mapped file (a network share gone, a file cut short by
// another program) would stop the program instead of giving an error
// message.
#ifndef PLATFORM_FILE_CONTENT_H_
#define PLATFORM_FILE_CONTENT_H_

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/error.h"

namespace platform {

class FileContent {
 public:
  // The content of `path`; the errors of ReadWholeFile.
  static Expected<FileContent> Read(const std::string& path);
  // Holds `bytes` made in memory as a file's content.
  explicit FileContent(std::string bytes = {})
      : bytes_(std::make_unique<std::string>(std::move(bytes))) {}

  // Valid while the object lives (moving it keeps them valid).
  std::string_view bytes() const { return bytes_ ? std::string_view(*bytes_) : std::string_view(); }

 private:
  std::unique_ptr<std::string> bytes_;  // null once moved from
};

}  // namespace platform

#endif  // PLATFORM_FILE_CONTENT_H_
