#include "platform/files.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/path.h"
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

std::FILE* CreateSelfRemovingFile(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  FILE_DISPOSITION_INFO remove = {TRUE};
  if (!SetFileInformationByHandle(handle, FileDispositionInfo, &remove,
                                  sizeof remove)) {
    CloseHandle(handle);
    DeleteFileA(path.c_str());
    return nullptr;
  }
  // From here on closing the handle, or the end of the process, removes it.
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                           _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

Status KeepFile(std::FILE* file, const std::string& path, bool* name_taken) {
  *name_taken = false;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  FILE_DISPOSITION_INFO keep = {FALSE};
  if (handle == INVALID_HANDLE_VALUE ||
      !SetFileInformationByHandle(handle, FileDispositionInfo, &keep,
                                  sizeof keep)) {
    return Error("Cannot write " + path + ": " + LastErrorText());
  }
  return Status::Ok();
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n == 0 || n >= sizeof buffer ? std::string() : std::string(buffer, n);
}

int FileDescriptor(std::FILE* file) { return _fileno(file); }

// Straight to the system: the C library's commit would lock the descriptor
// against the writing thread.
std::string SyncWritten(int descriptor) {
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  return FlushFileBuffers(handle) ? std::string() : LastErrorText();
}

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

Status MakeDirectory(const std::string& path) {
  // "C:" and "\\server\share" are no folders to create.
  bool drive = path.size() == 2 && path[1] == ':';
  bool share = path.size() > 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
  if (drive || CreateDirectoryA(path.c_str(), nullptr) ||
      GetLastError() == ERROR_ALREADY_EXISTS || share) {
    return Status::Ok();
  }
  return Error("Cannot create the folder " + path + ": " + LastErrorText());
}

}  // namespace backend

namespace {

DWORD Attributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

// The 100-nanosecond ticks since 1601 as nanoseconds since 1970, every
// tick kept; saturated past the year 2262.
int64_t UnixNanoseconds(const FILETIME& time) {
  const uint64_t ticks =
      (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  constexpr int64_t kTicksTo1970 = 116444736000000000LL;
  constexpr int64_t kLimit = INT64_MAX / 100;
  if (ticks > uint64_t(INT64_MAX)) return INT64_MAX;
  const int64_t since_1970 = int64_t(ticks) - kTicksTo1970;
  if (since_1970 > kLimit) return INT64_MAX;
  if (since_1970 < -kLimit) return INT64_MIN;
  return since_1970 * 100;
}

}  // namespace

Expected<InputFile> InputFile::Open(const std::string& path) {
  // Backup semantics let a folder open, so that it is told as a folder
  // rather than as a denied access; others may read, write and delete
  // the file meanwhile, as with the C library's open.
  HANDLE handle = CreateFileA(
      path.c_str(), GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS,
      nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return Error("Cannot open " + path + ": " + backend::LastErrorText());
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
  if (!disk || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    const bool folder =
        disk && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(handle);
    return Error("Cannot open " + path +
                 (folder ? ": it is a folder" : ": not a regular file"));
  }
  const uint64_t size =
      (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                 _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return Error("Cannot open " + path);
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) {
    _close(fd);  // closes the handle too
    return Error("Cannot open " + path);
  }
  return InputFile(file, size, path);
}

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

std::string ExecutableDirectory() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return ".\\";
  return FolderOf(std::string_view(buffer, n));
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
  return FolderOf(std::string_view(buffer, n));
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
    FileEntry entry{.name = data.cFileName};
    if (!SearchLists(pattern, entry.name)) continue;
    entry.created_ns = UnixNanoseconds(data.ftCreationTime);
    entry.modified_ns = UnixNanoseconds(data.ftLastWriteTime);
    const DWORD attributes = data.dwFileAttributes;
    entry.is_directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // The search describes a link or junction itself (a reparse point),
    // never the file it leads to.
    entry.is_regular =
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                       FILE_ATTRIBUTE_DEVICE)) == 0;
    entries.push_back(std::move(entry));
  } while (FindNextFileA(find, &data));
  FindClose(find);
  SortByName(entries);
  return entries;
}

}  // namespace platform
