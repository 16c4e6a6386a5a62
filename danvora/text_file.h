// The library's files in Windows text mode, the same bytes on every build:
// reading turns CR LF into LF and stops at a 0x1A byte; writing turns every
// LF into CR LF. Outputs go through platform::FileOutput, so a file replaces
// its target only when it is committed.
#ifndef DANVORA_TEXT_FILE_H_
#define DANVORA_TEXT_FILE_H_

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/file_output.h"

namespace danvora {

// Reads a file line by line as text mode delivers it.
class TextFileReader {
 public:
  // Opens `path` for reading; nullopt when it cannot be opened.
  static std::optional<TextFileReader> Open(const std::string& path);

  TextFileReader(TextFileReader&& other) noexcept;
  TextFileReader& operator=(TextFileReader&& other) noexcept;
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;
  ~TextFileReader();

  // The next physical line without its line feed, of which at most `keep`
  // characters are stored (the rest of the line is read and dropped).
  // False at the end of the file; a last line without a line feed counts.
  bool ReadLine(std::string* line,
                size_t keep = std::string::npos);

  // True when reading stopped because of a read error (not the end).
  bool failed() const { return failed_; }

 private:
  explicit TextFileReader(std::FILE* file) : file_(file) {}
  // The next byte after CR LF folding, or -1 at the end.
  int Get();
  int Raw();

  std::FILE* file_ = nullptr;
  char buffer_[65536];
  size_t size_ = 0, pos_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

// A file being written in text mode.
class TextOutput {
 public:
  // Starts writing `path`; fails (naming the path) when it cannot be created.
  static platform::Expected<TextOutput> Create(const std::string& path);

  TextOutput(TextOutput&&) noexcept = default;
  TextOutput& operator=(TextOutput&&) noexcept = default;

  // Writes `text`, every LF as CR LF.
  void Write(std::string_view text);

  // Replaces the target with what was written.
  platform::Status Commit() { return out_.Commit(); }
  // Finishes writing without replacing the target yet.
  platform::Status Prepare() { return out_.Prepare(); }
  // Gives up; the target stays as it was.
  void Discard() { out_.Discard(); }

  const std::string& path() const { return out_.target(); }
  bool failed() const { return out_.failed(); }

 private:
  explicit TextOutput(platform::FileOutput out) : out_(std::move(out)) {}
  platform::FileOutput out_;
};

}  // namespace danvora

#endif  // DANVORA_TEXT_FILE_H_
