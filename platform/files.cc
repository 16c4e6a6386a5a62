#include "platform/files.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/memory.h"
#include "platform/path.h"

namespace platform {

Expected<std::string> InputFile::ReadAll() {
  std::FILE* file = file_.get();
  std::string bytes;
  // Read straight into a buffer of the file's size; a file that grows
  // meanwhile is read on in chunks.
  const size_t expected =
      size_ < SIZE_MAX / 2 ? static_cast<size_t>(size_) : 0;
  ReserveLarge(bytes, expected + 1);
  size_t used = 0;
  for (size_t chunk = expected + 1;; chunk = 65536) {
    bytes.resize(used + chunk);
    size_t n = std::fread(bytes.data() + used, 1, chunk, file);
    used += n;
    if (n < chunk) break;
  }
  bytes.resize(used);
  if (std::ferror(file) != 0) return Error("Cannot read " + path_);
  return bytes;
}

Expected<std::string> ReadWholeFile(const std::string& path) {
  Expected<InputFile> input = InputFile::Open(path);
  if (!input) return input.error();
  return input->ReadAll();
}

Status RemoveFile(const std::string& path) {
  if (std::remove(path.c_str()) != 0) {
    return Error("Cannot delete " + path + ": " + std::strerror(errno));
  }
  return Status::Ok();
}

Status MakeDirectories(const std::string& path) {
  std::string prefix;
  for (size_t i = 0; i <= path.size(); ++i) {
    if ((i == path.size() || IsPathSeparator(path[i])) && !prefix.empty() &&
        !DirectoryExists(prefix)) {
      Status made = backend::MakeDirectory(prefix);
      if (!made) return made;
    }
    if (i < path.size()) prefix += path[i];
  }
  if (!DirectoryExists(path)) return Error("Cannot create the folder " + path);
  return Status::Ok();
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
