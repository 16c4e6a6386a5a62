#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/file_output.h"

namespace platform {

Expected<std::string> ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return Error("Cannot open " + path + ": " + std::strerror(errno));
  }
  std::string bytes;
  // Large files grow the buffer once, not by doubling and copying.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) bytes.reserve(static_cast<size_t>(size));
    std::rewind(file);
  }
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    bytes.append(buffer, n);
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return Error("Cannot read " + path);
  return bytes;
}

Status RemoveFile(const std::string& path) {
  if (std::remove(path.c_str()) != 0) {
    return Error("Cannot delete " + path + ": " + std::strerror(errno));
  }
  return Status::Ok();
}

Status CopyNoReplace(const std::string& from, const std::string& to) {
  if (FileExists(to)) return Error("Cannot copy to " + to + ": file exists");
  Expected<std::string> bytes = ReadWholeFile(from);
  if (!bytes) return bytes.error();
  Expected<FileOutput> out = FileOutput::Create(to);
  if (!out) return out.error();
  out->Write(*bytes);
  return out->CommitNoReplace();
}

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

char PathSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

std::string WithTrailingSeparator(const std::string& dir) {
  // An empty folder stays empty (the current folder), never the root.
  if (dir.empty() || IsPathSeparator(dir.back())) return dir;
  return dir + PathSeparator();
}

}  // namespace platform
