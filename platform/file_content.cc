#include "platform/file_content.h"

#include <utility>

#include "platform/backend.h"
#include "platform/files.h"

namespace platform {

FileContent::FileContent(FileContent&& other) noexcept
    : mapped_(std::exchange(other.mapped_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      copy_(std::exchange(other.copy_, std::make_unique<std::string>())) {}

FileContent& FileContent::operator=(FileContent&& other) noexcept {
  if (this != &other) {
    Release();
    mapped_ = std::exchange(other.mapped_, nullptr);
    size_ = std::exchange(other.size_, 0);
    copy_ = std::exchange(other.copy_, std::make_unique<std::string>());
  }
  return *this;
}

FileContent::~FileContent() { Release(); }

void FileContent::Release() {
  if (mapped_ != nullptr) backend::UnmapFile(std::exchange(mapped_, nullptr), size_);
  size_ = 0;
}

Expected<FileContent> FileContent::Read(const std::string& path) {
  FileContent content;
  content.mapped_ = backend::MapFileForReading(path, &content.size_);
  if (content.mapped_ != nullptr) return content;
  content.size_ = 0;
  Expected<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return bytes.error();
  *content.copy_ = std::move(*bytes);
  return content;
}

}  // namespace platform
