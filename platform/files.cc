#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/file_output.h"
#include "platform/memory.h"

namespace platform {

Expected<std::string> ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return Error("Cannot open " + path + ": " + std::strerror(errno));
  }
  std::string bytes;
  // Read straight into a buffer of the file's size; a file that grows
  // meanwhile (or whose size is unknown) is read on in chunks.
  size_t expected = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) expected = static_cast<size_t>(size);
    std::rewind(file);
  }
  ReserveLarge(bytes, expected + 1);
  size_t used = 0;
  for (size_t chunk = expected + 1;; chunk = 65536) {
    bytes.resize(used + chunk);
    size_t n = std::fread(bytes.data() + used, 1, chunk, file);
    used += n;
    if (n < chunk) break;
  }
  bytes.resize(used);
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

std::string AbsolutePath(const std::string& path) {
  // A drive letter counts as absolute on both builds: values handed over
  // by Windows programs keep their form.
  bool absolute = (!path.empty() && IsPathSeparator(path[0])) ||
                  (path.size() >= 2 && path[1] == ':');
  if (absolute || path.empty()) return path;
  std::string folder = backend::CurrentDirectory();
  if (folder.empty()) return path;
  return WithTrailingSeparator(folder) + path;
}

}  // namespace platform
