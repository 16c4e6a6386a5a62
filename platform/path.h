#ifndef PLATFORM_PATH_H_
#define PLATFORM_PATH_H_

// The parts of a path - folder, file name, stem, extension - as text; no
// file system is asked.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The separator of the build's paths, '\\' on Windows and '/' on posix.
char PathSeparator();
bool IsPathSeparator(char c);
// `dir` with a separator appended unless it ends in one.
std::string WithTrailingSeparator(const std::string& dir);

// Where the file name of `path` starts: after its last separator of the
// build's paths, 0 when it has none.
size_t FileNameStart(std::string_view path);
// `path` up to and including its last separator; a lone separator when it
// has none.
std::string FolderOf(std::string_view path);
// The file name of `path`: after its last separator, or after a drive "X:"
// when it has none.
std::string FileNameOf(std::string_view path);
// The file name of `path` up to its first "." ("a.b.c" gives "a"); the
// front end names its outputs so.
std::string StemToFirstDot(std::string_view path);

// What ends the folder part when an extension is looked for. The paths are
// Windows paths on every build: '\\' and '/' always, and ':' where a drive
// or stream may end the name.
enum class ExtensionRule {
  kSlashes,          // after the last '\\' or '/'
  kSlashesAndColon,  // after the last '\\', '/' or ':'
};
// The extension of the file name of `path`, from its last "." on (the dot
// included); empty when it has none.
std::string_view ExtensionOf(std::string_view path,
                             ExtensionRule rule = ExtensionRule::kSlashesAndColon);
// `path` up to its extension's last "." (the whole path when it has none),
// then `extension` ("a.b.c" with ".x" gives "a.b.x").
std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             ExtensionRule rule = ExtensionRule::kSlashesAndColon);

}  // namespace platform

#endif  // PLATFORM_PATH_H_
