// The whole content of a file for reading. Large inputs are mapped into
// memory rather than copied: the bytes are read straight out of the
// system's file cache, with no buffer of the file's size to fill first.
// Files that cannot be mapped (empty ones, pipes) are read as
// ReadWholeFile reads them, which also gives its errors.
#ifndef PLATFORM_FILE_CONTENT_H_
#define PLATFORM_FILE_CONTENT_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform {

class FileContent {
 public:
  FileContent() = default;
  FileContent(const FileContent&) = delete;
  FileContent& operator=(const FileContent&) = delete;
  FileContent(FileContent&& other) noexcept;
  FileContent& operator=(FileContent&& other) noexcept;
  ~FileContent();

  // The content of `path`; the errors of ReadWholeFile.
  static Expected<FileContent> Read(const std::string& path);

  // Valid while the object lives (moving it keeps them valid).
  std::string_view bytes() const {
    return mapped_ != nullptr ? std::string_view(mapped_, size_) : std::string_view(*copy_);
  }

 private:
  void Release();

  const char* mapped_ = nullptr;
  size_t size_ = 0;
  // The bytes read where there is no mapping; on the heap so that a move
  // keeps views of them valid.
  std::unique_ptr<std::string> copy_ = std::make_unique<std::string>();
};

}  // namespace platform

#endif  // PLATFORM_FILE_CONTENT_H_
