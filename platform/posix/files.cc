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
#include "platform/path.h"
#include "platform/wildcard.h"

namespace platform {
namespace backend {
namespace {

// The open file `fd` as a path of its own.
std::string SelfPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

std::FILE* CreateNewFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) ::close(fd);
  return file;
}

std::FILE* CreateSelfRemovingFile(const std::string& path) {
#ifdef O_TMPFILE
  const size_t name_start = FileNameStart(path);
  const std::string folder = name_start == 0 ? "." : path.substr(0, name_start);
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  // KeepFile names the file through /proc; without it the file could
  // never be named, so it is not made unnamed at all.
  struct stat link;
  if (::lstat(SelfPath(fd).c_str(), &link) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) ::close(fd);
  return file;
#else
  (void)path;
  return nullptr;
#endif
}

Status KeepFile(std::FILE* file, const std::string& path, bool* name_taken) {
  *name_taken = false;
  std::string self = SelfPath(::fileno(file));
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(),
               AT_SYMLINK_FOLLOW) == 0) {
    return Status::Ok();
  }
  *name_taken = errno == EEXIST;
  return Error("Cannot create " + path + ": " + LastErrorText());
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) == nullptr ? std::string() : std::string(buffer);
}

int FileDescriptor(std::FILE* file) { return ::fileno(file); }

std::string SyncWritten(int descriptor) {
  return ::fdatasync(descriptor) == 0 ? std::string() : LastErrorText();
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

Status MakeDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return Status::Ok();
  return Error("Cannot create the folder " + path + ": " + std::strerror(errno));
}

}  // namespace backend

Expected<InputFile> InputFile::Open(const std::string& path) {
  // Without O_NONBLOCK the open of a FIFO waits for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Error("Cannot open " + path + ": " + std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool folder = S_ISDIR(st.st_mode);
    ::close(fd);
    return Error("Cannot open " + path +
                 (folder ? ": it is a folder" : ": not a regular file"));
  }
  auto fail = [&](int error) {
    ::close(fd);
    return Error("Cannot open " + path + ": " + std::strerror(error));
  };
  // Reads of a regular file never wait anyway; the flag is cleared so that
  // none of them ever reports EAGAIN.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) return fail(errno);
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) return fail(errno);
  return InputFile(file, static_cast<uint64_t>(st.st_size), path);
}

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

std::string ExecutableDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  // The link names the full path, so it has a folder.
  return FolderOf(std::string_view(buffer, static_cast<size_t>(n)));
}

std::string ModuleDirectory(const void* address) {
  Dl_info info;
  if (address == nullptr || ::dladdr(address, &info) == 0 ||
      info.dli_fname == nullptr || std::strchr(info.dli_fname, '/') == nullptr) {
    return ExecutableDirectory();
  }
  char resolved[PATH_MAX];
  if (::realpath(info.dli_fname, resolved) == nullptr) {
    return FolderOf(info.dli_fname);
  }
  return FolderOf(resolved);
}

std::string TempDirectory() {
  std::string dir = backend::GetEnv("TMPDIR");
  if (dir.empty()) dir = "/tmp";
  return WithTrailingSeparator(dir);
}

namespace {

// Saturates instead of overflowing for times past the year 2262.
int64_t Nanoseconds(int64_t seconds, int64_t nanoseconds) {
  int64_t result = 0;
  if (__builtin_mul_overflow(seconds, int64_t{1000000000}, &result) ||
      __builtin_add_overflow(result, nanoseconds, &result)) {
    return seconds < 0 ? INT64_MIN : INT64_MAX;
  }
  return result;
}

}  // namespace

std::vector<FileEntry> FindFiles(const std::string& dir,
                                 const std::string& pattern) {
  std::vector<FileEntry> entries;
  std::string folder = dir.empty() ? "./" : WithTrailingSeparator(dir);
  DIR* handle = ::opendir(folder.c_str());
  if (handle == nullptr) return entries;
  const int folder_fd = ::dirfd(handle);
  while (const dirent* entry = ::readdir(handle)) {
    FileEntry found{.name = entry->d_name};
    if (!SearchLists(pattern, found.name)) continue;
    mode_t mode = 0;
    // The entry itself: a link is not followed to its file.
    struct statx stx;
    if (::statx(folder_fd, found.name.c_str(), AT_SYMLINK_NOFOLLOW,
                STATX_BTIME | STATX_MTIME | STATX_TYPE, &stx) == 0) {
      found.modified_ns = Nanoseconds(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec);
      found.created_ns = (stx.stx_mask & STATX_BTIME)
                             ? Nanoseconds(stx.stx_btime.tv_sec,
                                           stx.stx_btime.tv_nsec)
                             : found.modified_ns;
      mode = stx.stx_mode;
    } else {
      struct stat st;
      if (::fstatat(folder_fd, found.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        continue;  // vanished meanwhile
      }
      found.modified_ns = found.created_ns =
          Nanoseconds(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
      mode = st.st_mode;
    }
    found.is_directory = S_ISDIR(mode);
    found.is_regular = S_ISREG(mode);
    entries.push_back(std::move(found));
  }
  ::closedir(handle);
  SortByName(entries);
  return entries;
}

}  // namespace platform
