// The library's files in Windows text mode, the same bytes on every build:
// reading turns CR LF into LF and stops at a 0x1A byte; writing turns every
// LF into CR LF. Outputs go through platform::FileOutput, so a file replaces
// its target only when it is committed.
#ifndef DANVORA_TEXT_FILE_H_
#define DANVORA_TEXT_FILE_H_

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "platform/error.h"
#include "platform/file_content.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "text/line_reader.h"

namespace danvora {

// The library's files are read whole into a platform::FileContent; their
// lines are taken with a text::LineReader of text::kLibraryLines (the job:
// lines kept to 256 characters) or of kWholeLibraryLines (the known-point
// file: lines kept whole), which end the text at the first Ctrl-Z as text
// mode does.
inline constexpr text::LineRules kWholeLibraryLines{.text_end = '\x1a'};

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
