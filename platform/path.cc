#include "platform/path.h"

namespace platform {

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

size_t FileNameStart(std::string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsPathSeparator(path[start - 1])) --start;
  return start;
}

std::string FolderOf(std::string_view path) {
  const size_t start = FileNameStart(path);
  if (start == 0) return std::string(1, PathSeparator());
  return std::string(path.substr(0, start));
}

std::string FileNameOf(std::string_view path) {
  size_t start = FileNameStart(path);
  if (start == 0 && path.size() >= 2 && path[1] == ':') start = 2;
  return std::string(path.substr(start));
}

std::string StemToFirstDot(std::string_view path) {
  std::string name = FileNameOf(path);
  return name.substr(0, name.find('.'));
}

namespace {

// Position of the dot that starts the extension of the file-name part, or
// npos.
size_t ExtensionDot(std::string_view path, ExtensionRule rule) {
  for (size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (c == '.') return i - 1;
    if (c == '\\' || c == '/') break;
    if (c == ':' && rule == ExtensionRule::kSlashesAndColon) break;
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view ExtensionOf(std::string_view path, ExtensionRule rule) {
  const size_t dot = ExtensionDot(path, rule);
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             ExtensionRule rule) {
  const size_t dot = ExtensionDot(path, rule);
  std::string result(dot == std::string_view::npos ? path : path.substr(0, dot));
  result += extension;
  return result;
}

}  // namespace platform
