// Plain file-system operations on 8-bit paths.
#ifndef PLATFORM_FILES_H_
#define PLATFORM_FILES_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace platform {

// A file opened for reading, only when it is a regular file: a folder, a
// FIFO or a device is refused at once, so that no reader waits for a writer
// that never comes or reads without end. Every input of the programs is
// opened here. Closed when the object goes.
class InputFile {
 public:
  // Opens `path` without waiting and checks the opened file's type; the
  // Error names the path ("Cannot open PATH: REASON").
  static Expected<InputFile> Open(const std::string& path);

  std::FILE* get() const { return file_.get(); }
  // The size of the file when it was opened.
  uint64_t size() const { return size_; }
  const std::string& path() const { return path_; }

  // The rest of the file, bytes as they are; the Error names the path.
  Expected<std::string> ReadAll();

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  InputFile(std::FILE* file, uint64_t size, std::string path)
      : file_(file), size_(size), path_(std::move(path)) {}

  std::unique_ptr<std::FILE, Closer> file_;
  uint64_t size_ = 0;
  std::string path_;
};

// The whole content of a file, bytes as they are: InputFile's Open and
// ReadAll.
Expected<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
Status RemoveFile(const std::string& path);
// Renames without ever replacing an existing `to` (fails instead).
Status RenameNoReplace(const std::string& from, const std::string& to);
Status MakeDirectories(const std::string& path);

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
  std::string name;  // the file name only
  // Nanoseconds since 1970 at the full resolution the file system keeps
  // (100 ns steps on Windows): of two files made within one second, the
  // later is later. `created_ns` is the modification time where the file
  // system keeps no birth time.
  int64_t created_ns = 0;
  int64_t modified_ns = 0;
  bool is_directory = false;
  // A plain file as the entry itself stands: no folder, symbolic link,
  // FIFO, device or (on Windows) reparse point.
  bool is_regular = false;
};

// The entries of `dir` whose names match `pattern` (wildcards * and ?, letters
// compared without regard to case, as a Windows directory search), in the
// order of their names; "." and ".." are left out. Empty when `dir` cannot
// be read. Each entry is described as it stands, as a Windows search does:
// a link is a link, not the file it leads to.
std::vector<FileEntry> FindFiles(const std::string& dir,
                                 const std::string& pattern);

}  // namespace platform

#endif  // PLATFORM_FILES_H_
