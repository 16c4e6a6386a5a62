#include "platform/files.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/wildcard.h"

namespace platform {
namespace backend {

std::FILE* CreateNewFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) ::close(fd);
  return file;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) == nullptr ? std::string() : std::string(buffer);
}

bool SyncFile(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

bool StartWriteback(std::FILE* file) {
#ifdef SYNC_FILE_RANGE_WRITE
  if (std::fflush(file) != 0) return false;
  return ::sync_file_range(::fileno(file), 0, 0, SYNC_FILE_RANGE_WRITE) == 0;
#else
  return std::fflush(file) == 0;
#endif
}

Status MoveOver(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    return Error("Cannot replace " + to + ": " + LastErrorText());
  }
  return Status::Ok();
}

std::string LastErrorText() { return std::strerror(errno); }

std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace backend

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Status RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                  RENAME_NOREPLACE) == 0) {
    return Status::Ok();
  }
  int error = errno;
  // File systems without the flag: a hard link can never replace either.
  if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return Status::Ok();
    }
    error = errno;
  }
  return Error("Cannot rename " + from + " to " + to + ": " +
               std::strerror(error));
}

Status MakeDirectories(const std::string& path) {
  std::string prefix;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (!prefix.empty() && !DirectoryExists(prefix) &&
          ::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
        return Error("Cannot create the folder " + prefix + ": " +
                     std::strerror(errno));
      }
    }
    if (i < path.size()) prefix += path[i];
  }
  if (!DirectoryExists(path)) return Error("Cannot create the folder " + path);
  return Status::Ok();
}

namespace {

std::string DirectoryOf(const std::string& file) {
  size_t slash = file.rfind('/');
  if (slash == std::string::npos) return "./";
  return file.substr(0, slash + 1);
}

}  // namespace

std::string ExecutableDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  return DirectoryOf(std::string(buffer, static_cast<size_t>(n)));
}

std::string ModuleDirectory(const void* address) {
  Dl_info info;
  if (address == nullptr || ::dladdr(address, &info) == 0 ||
      info.dli_fname == nullptr || std::strchr(info.dli_fname, '/') == nullptr) {
    return ExecutableDirectory();
  }
  char resolved[PATH_MAX];
  if (::realpath(info.dli_fname, resolved) == nullptr) {
    return DirectoryOf(info.dli_fname);
  }
  return DirectoryOf(resolved);
}

std::string TempDirectory() {
  std::string dir = backend::GetEnv("TMPDIR");
  if (dir.empty()) dir = "/tmp";
  return WithTrailingSeparator(dir);
}

std::vector<FileEntry> FindFiles(const std::string& dir,
                                 const std::string& pattern) {
  std::vector<FileEntry> entries;
  std::string folder = dir.empty() ? "./" : WithTrailingSeparator(dir);
  DIR* handle = ::opendir(folder.c_str());
  if (handle == nullptr) return entries;
  while (const dirent* entry = ::readdir(handle)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!WildcardMatch(pattern, name)) continue;
    std::string path = folder + name;
    FileEntry found;
    found.name = name;
    struct statx stx;
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME | STATX_TYPE,
                &stx) == 0) {
      found.modified = stx.stx_mtime.tv_sec;
      found.created = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec
                                                    : found.modified;
      found.is_directory = S_ISDIR(stx.stx_mode);
    } else {
      struct stat st;
      if (::stat(path.c_str(), &st) != 0) continue;  // vanished meanwhile
      found.modified = found.created = st.st_mtime;
      found.is_directory = S_ISDIR(st.st_mode);
    }
    entries.push_back(std::move(found));
  }
  ::closedir(handle);
  SortByName(entries);
  return entries;
}

}  // namespace platform
