// Plain file-system operations on 8-bit paths.
#ifndef PLATFORM_FILES_H_
#define PLATFORM_FILES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"

namespace platform {

// The whole content of a file, bytes as they are.
Expected<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
Status RemoveFile(const std::string& path);
// Renames without ever replacing an existing `to` (fails instead).
Status RenameNoReplace(const std::string& from, const std::string& to);
// Copies without ever replacing an existing `to`.
Status CopyNoReplace(const std::string& from, const std::string& to);
Status MakeDirectories(const std::string& path);

// The separator of the build's paths, '\\' on Windows and '/' on posix.
char PathSeparator();
bool IsPathSeparator(char c);
// `dir` with a separator appended unless it ends in one.
std::string WithTrailingSeparator(const std::string& dir);
// `path` as a full path, as a file dialog gives it: a relative path is
// taken against the current folder. The path as given when there is none.
std::string AbsolutePath(const std::string& path);

// The folder of the running executable (or of the module holding `address`
// when given), with a trailing separator.
std::string ExecutableDirectory();
std::string ModuleDirectory(const void* address);

// The system temporary folder, with a trailing separator.
std::string TempDirectory();

struct FileEntry {
  std::string name;      // the file name only
  int64_t created = 0;   // seconds since 1970; the modification time where
                         // the file system keeps no birth time
  int64_t modified = 0;
  bool is_directory = false;
};

// The entries of `dir` whose names match `pattern` (wildcards * and ?, letters
// compared without regard to case, as a Windows directory search), in the
// order of their names; "." and ".." are left out. Empty when `dir` cannot
// be read.
std::vector<FileEntry> FindFiles(const std::string& dir,
                                 const std::string& pattern);

}  // namespace platform

#endif  // PLATFORM_FILES_H_
