#include "platform/files.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/wildcard.h"

namespace platform {
namespace backend {

std::FILE* CreateNewFile(const std::string& path) {
  int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                 _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n == 0 || n >= sizeof buffer ? std::string() : std::string(buffer, n);
}

bool SyncFile(std::FILE* file) { return _commit(_fileno(file)) == 0; }

// Windows writes back on its own schedule; the final commit waits for it.
bool StartWriteback(std::FILE* /*file*/) { return true; }

Status MoveOver(const std::string& from, const std::string& to) {
  if (!MoveFileExA(from.c_str(), to.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Error("Cannot replace " + to + ": " + LastErrorText());
  }
  return Status::Ok();
}

std::string LastErrorText() {
  DWORD code = GetLastError();
  char buffer[512];
  DWORD n = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, buffer, sizeof buffer, nullptr);
  while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' ||
                   buffer[n - 1] == ' ' || buffer[n - 1] == '.')) {
    --n;
  }
  if (n == 0) return "system error " + std::to_string(code);
  return std::string(buffer, n);
}

std::string GetEnv(const char* name) {
  char buffer[4096];
  DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return "";
  return std::string(buffer, n);
}

}  // namespace backend

namespace {

DWORD Attributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

std::string DirectoryOf(const char* file, DWORD length) {
  std::string path(file, length);
  size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".\\";
  return path.substr(0, slash + 1);
}

int64_t UnixSeconds(const FILETIME& time) {
  uint64_t ticks = (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return (int64_t(ticks) - 116444736000000000LL) / 10000000LL;
}

}  // namespace

bool FileExists(const std::string& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

Status RenameNoReplace(const std::string& from, const std::string& to) {
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
    return Error("Cannot rename " + from + " to " + to + ": " +
                 backend::LastErrorText());
  }
  return Status::Ok();
}

Status MakeDirectories(const std::string& path) {
  std::string prefix;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsPathSeparator(path[i])) {
      // "C:" and "\\server\share" are no folders to create.
      bool drive = prefix.size() == 2 && prefix[1] == ':';
      if (!prefix.empty() && !drive && !DirectoryExists(prefix) &&
          !CreateDirectoryA(prefix.c_str(), nullptr) &&
          GetLastError() != ERROR_ALREADY_EXISTS &&
          !(prefix.size() > 2 && IsPathSeparator(prefix[0]) &&
            IsPathSeparator(prefix[1]))) {
        return Error("Cannot create the folder " + prefix + ": " +
                     backend::LastErrorText());
      }
    }
    if (i < path.size()) prefix += path[i];
  }
  if (!DirectoryExists(path)) return Error("Cannot create the folder " + path);
  return Status::Ok();
}

std::string ExecutableDirectory() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return ".\\";
  return DirectoryOf(buffer, n);
}

std::string ModuleDirectory(const void* address) {
  HMODULE module = nullptr;
  if (address == nullptr ||
      !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module)) {
    return ExecutableDirectory();
  }
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(module, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return ExecutableDirectory();
  return DirectoryOf(buffer, n);
}

std::string TempDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof buffer, buffer);
  if (n == 0 || n >= sizeof buffer) return ".\\";
  return WithTrailingSeparator(std::string(buffer, n));
}

std::vector<FileEntry> FindFiles(const std::string& dir,
                                 const std::string& pattern) {
  std::vector<FileEntry> entries;
  // Every name is listed and matched here, so that the 8.3 short names of a
  // Windows search never make "*.dc" find "x.dco".
  std::string folder = dir.empty() ? std::string() : WithTrailingSeparator(dir);
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (!WildcardMatch(pattern, name)) continue;
    FileEntry entry;
    entry.name = name;
    entry.created = UnixSeconds(data.ftCreationTime);
    entry.modified = UnixSeconds(data.ftLastWriteTime);
    entry.is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entries.push_back(std::move(entry));
  } while (FindNextFileA(find, &data));
  FindClose(find);
  SortByName(entries);
  return entries;
}

}  // namespace platform
