// The library's files in Windows text mode, the same bytes on every build:
// reading turns CR LF into LF and stops at a 0x1A byte; writing turns every
// LF into CR LF. Outputs go through platform::FileOutput, so a file replaces
// its target only when it is committed.
#ifndef DANVORA_TEXT_FILE_H_
#define DANVORA_TEXT_FILE_H_

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/error.h"
#include "platform/file_output.h"
#include "platform/files.h"

namespace danvora {

// Reads a file line by line as text mode delivers it.
class TextFileReader {
 public:
  // Opens `path` for reading; nullopt when it cannot be opened or is no
  // regular file.
  static std::optional<TextFileReader> Open(const std::string& path);

  TextFileReader(TextFileReader&& other) noexcept;
  TextFileReader& operator=(TextFileReader&& other) noexcept;
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;

  // The next physical line without its line feed, of which at most `keep`
  // characters are stored (the rest of the line is read and dropped).
  // False at the end of the file; a last line without a line feed counts.
  bool ReadLine(std::string* line,
                size_t keep = std::string::npos);

  // As ReadLine, into `out`, which has room for `keep` characters; `*length`
  // receives the number stored.
  bool ReadLineTo(char* out, size_t keep, size_t* length);

  // True when reading stopped because of a read error (not the end).
  bool failed() const { return failed_; }

 private:
  explicit TextFileReader(platform::InputFile file) : file_(std::move(file)) {}
  // Takes the unread part of `other`'s block, and its state.
  void TakeBuffer(TextFileReader& other);
  // Reads the next block; false at the end. A Ctrl-Z cuts the block and
  // ends the file.
  bool Refill();
  // Hands the pieces of the next line to `sink` (a pending CR as a piece of
  // its own); false at the end.
  template <typename Sink>
  bool NextLine(Sink&& sink);

  platform::InputFile file_;  // closed when moved from
  char buffer_[65536];
  size_t size_ = 0, pos_ = 0;
  bool ended_ = false;  // no block left to read: the end, or a Ctrl-Z
  bool failed_ = false;
};

// A whole file as text mode reads it, in one allocation: the bytes before
// the first Ctrl-Z. Its lines are taken with NextTextLine.
class TextFileContent {
 public:
  // Reads all of `path`; nullopt when it cannot be opened, is no regular
  // file, or a read fails
  // part of the way (a job is never taken from the part that arrived).
  static std::optional<TextFileContent> Read(const std::string& path);

  std::string_view text() const { return {data_.get(), size_}; }

 private:
  TextFileContent(std::unique_ptr<char[]> data, size_t size)
      : data_(std::move(data)), size_(size) {}

  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
};

// Takes the next line off the front of `*rest` into `*line` as
// TextFileReader::ReadLine gives it (a CR before the line feed dropped, a
// last line without one kept); false when `*rest` is empty.
bool NextTextLine(std::string_view* rest, std::string_view* line);

// A file being written in text mode.
class TextOutput {
 public:
  // Starts writing `path`; fails (naming the path) as FileOutput::Create.
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

// Replaces the targets of `outputs` (null entries passed over) with what was
// written, all or none: every file is finished before the first target is
// replaced, and when a target cannot be replaced those replaced before it
// get their old content back. No temporary file and no old content is left
// beside the targets. Returns the output that could not be written, or
// nullptr when every target was replaced.
const TextOutput* CommitTogether(std::initializer_list<TextOutput*> outputs);

}  // namespace danvora

#endif  // DANVORA_TEXT_FILE_H_
