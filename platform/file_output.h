// Every file the system writes goes through one writer: the bytes go to a
// temporary file in the target's folder, which replaces the target only when
// everything was written; on failure the temporary file is removed and the
// target stays as it was.
//
// A process that ends before the commit, however it ends, leaves no
// temporary file: until the commit the file has no name (Linux) or is marked
// for deletion (Windows), so the system removes it with the process. Only
// during the commit itself, or on a file system that offers neither, does
// it have a name of its own; then it stands in the interrupt table
// (interrupt.h) for the program's interrupt handler to remove.
//
// Tests make writes fail through the failing-writes switch (switches.h).
#ifndef PLATFORM_FILE_OUTPUT_H_
#define PLATFORM_FILE_OUTPUT_H_

#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/interrupt.h"

namespace platform {

class FileOutput {
 public:
  FileOutput() = default;
  FileOutput(FileOutput&& other) noexcept;
  FileOutput& operator=(FileOutput&& other) noexcept;
  // Discards the temporary file unless Commit succeeded.
  ~FileOutput();

  // Starts writing `target`. Fails (naming the path) when `target` is a
  // folder, which no file can replace, or when the temporary file cannot be
  // created.
  static Expected<FileOutput> Create(const std::string& target);

  // Appends bytes exactly as given (no line-end translation). Small writes
  // are gathered in memory: a file of a million lines costs a few hundred
  // system calls, not a million.
  void Write(std::string_view bytes) {
    if (bytes.size() <= kBufferSize - used_ && buffer_ != nullptr) {
      std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
      used_ += bytes.size();
      return;
    }
    WriteSlow(bytes);
  }
  void Put(char c) {
    if (used_ < kBufferSize && buffer_ != nullptr) {
      buffer_[used_++] = c;
      return;
    }
    WriteSlow(std::string_view(&c, 1));
  }

  // Flushes, closes and moves the temporary file over the target. After a
  // failed write or a failed replace the target is unchanged.
  Status Commit();
  // Finishes writing (flush, sync, error check) without touching the
  // target yet, so that several files can all be made ready before any of
  // them replaces its target. On failure the temporary file is removed.
  // (A file that removes itself stays open until the commit names it.)
  Status Prepare();
  // Like Commit, but fails (removing the temporary file) when the target
  // exists already instead of replacing it.
  Status CommitNoReplace();
  // Gives up: the temporary file is removed, the target untouched.
  void Discard();

  const std::string& target() const { return target_; }
  bool failed() const { return failed_; }

 private:
  static constexpr size_t kBufferSize = size_t{1} << 20;
  static constexpr size_t kWritebackPiece = size_t{8} << 20;

  void WriteSlow(std::string_view bytes);
  // Writes to the file, handing every full piece on to the disk.
  void Hand(const char* data, size_t size);
  // Hands the gathered bytes to the file.
  void Drain();
  // Starts making what was written so far durable on another thread, unless
  // the last such sync is still running.
  void SyncInBackground();
  // Waits for the sync on another thread; its failure fails the output.
  void EndBackgroundSync();

  std::string target_;
  // The temporary file's name; while `self_removing_`, the name it gets at
  // the commit (Linux) or has, marked for deletion (Windows).
  std::string temp_path_;
  std::FILE* file_ = nullptr;
  bool self_removing_ = false;
  RemovedOnInterrupt interrupt_entry_;  // while temp_path_ names a real file
  bool failed_ = false;
  bool prepared_ = false;  // written and closed, waiting for the rename
  std::unique_ptr<char[]> buffer_;  // only while the file is open
  size_t used_ = 0;
  size_t unsynced_ = 0;  // written since the last hand-on to the disk
  std::future<std::string> background_sync_;  // while one runs
  std::string sync_failure_;  // why a sync on another thread failed

  // Gives a self-removing file its name (temp_path_ or, when another file
  // took that meanwhile, a fresh one) and closes it.
  Status Keep();
  Status Finish(bool replace);
};

// Writes `bytes` as the whole new content of `path` through FileOutput.
Status WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace platform

#endif  // PLATFORM_FILE_OUTPUT_H_
