#include "platform/file_content.h"

#include <utility>

#include "platform/files.h"

namespace platform {

Expected<FileContent> FileContent::Read(const std::string& path) {
  Expected<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return bytes.error();
  return FileContent(std::move(*bytes));
}

}  // namespace platform
