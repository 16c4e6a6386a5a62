#include "platform/file_output.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include "platform/backend.h"
#include "platform/files.h"
#include "platform/switches.h"
#include "text/format.h"

namespace platform {
namespace {

// The seam of the tests: a write to a target containing the text of the
// failing-writes switch fails as a full disk would, at the end.
bool WriteFailureInjected(const std::string& target) {
  std::string fail = SwitchValue(CurrentSwitches().failing_writes_variable);
  return !fail.empty() && target.find(fail) != std::string::npos;
}

std::string TemporaryName(const std::string& target,
                          std::random_device& random) {
  return target + text::Format(".%08x.tmp", static_cast<unsigned>(random()));
}

}  // namespace

// An empty output taking over: its Discard in the assignment does nothing.
FileOutput::FileOutput(FileOutput&& other) noexcept { *this = std::move(other); }

FileOutput& FileOutput::operator=(FileOutput&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temp_path_ = std::move(other.temp_path_);
    other.temp_path_.clear();
    file_ = std::exchange(other.file_, nullptr);
    self_removing_ = std::exchange(other.self_removing_, false);
    interrupt_entry_ = std::move(other.interrupt_entry_);
    failed_ = other.failed_;
    prepared_ = other.prepared_;
    buffer_ = std::move(other.buffer_);
    used_ = std::exchange(other.used_, 0);
    unsynced_ = std::exchange(other.unsynced_, 0);
    background_sync_ = std::move(other.background_sync_);
    sync_failure_ = std::move(other.sync_failure_);
  }
  return *this;
}

FileOutput::~FileOutput() { Discard(); }

Expected<FileOutput> FileOutput::Create(const std::string& target) {
  // Refused before anything is written: replacing a folder would fail only
  // at the commit, when other files of the run may be replaced already.
  if (DirectoryExists(target)) {
    return Error("Cannot write " + target + ": it is a folder");
  }
  // The temporary file sits beside the target, so the final rename never
  // crosses a file system. Its name is random and created exclusively:
  // several processes may write beside each other.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = TemporaryName(target, random);
    FileOutput out;
    if (std::FILE* file = backend::CreateSelfRemovingFile(temp)) {
      out.self_removing_ = true;
      out.file_ = file;
    } else if (std::FILE* named = backend::CreateNewFile(temp)) {
      out.file_ = named;
      out.interrupt_entry_ = RemovedOnInterrupt(temp);
    } else {
      if (FileExists(temp)) continue;
      return Error("Cannot create a temporary file for " + target + ": " +
                   backend::LastErrorText());
    }
    out.target_ = target;
    out.temp_path_ = temp;
    out.buffer_ = std::make_unique<char[]>(kBufferSize);
    return out;
  }
  return Error("Cannot create a temporary file for " + target);
}

void FileOutput::Hand(const char* data, size_t size) {
  if (file_ == nullptr || failed_) return;
  // A large file goes out in pieces, each made durable on another thread
  // while the next is made: the sync at the end waits for little.
  while (size > 0) {
    size_t piece = size < kWritebackPiece - unsynced_ ? size : kWritebackPiece - unsynced_;
    if (std::fwrite(data, 1, piece, file_) != piece) {
      failed_ = true;
      return;
    }
    data += piece;
    size -= piece;
    unsynced_ += piece;
    if (unsynced_ == kWritebackPiece) {
      SyncInBackground();
      unsynced_ = 0;
    }
  }
}

void FileOutput::SyncInBackground() {
  if (background_sync_.valid() &&
      background_sync_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    return;
  }
  EndBackgroundSync();
  if (failed_) return;
  const int descriptor = backend::FileDescriptor(file_);
  try {
    background_sync_ = std::async(std::launch::async,
                                  [descriptor] { return backend::SyncWritten(descriptor); });
  } catch (const std::system_error&) {
    // No thread to be had: the sync at the end does it all.
  }
}

void FileOutput::EndBackgroundSync() {
  if (!background_sync_.valid()) return;
  std::string failure;
  try {
    failure = background_sync_.get();
  } catch (const std::exception&) {
    failure = "sync failed";  // Discard runs in the destructor: nothing may leave
  }
  if (!failure.empty()) {
    sync_failure_ = std::move(failure);
    failed_ = true;
  }
}

void FileOutput::Drain() {
  if (used_ == 0) return;
  Hand(buffer_.get(), used_);
  used_ = 0;
}

void FileOutput::WriteSlow(std::string_view bytes) {
  if (file_ == nullptr || failed_ || bytes.empty()) return;
  Drain();
  if (bytes.size() < kBufferSize) {
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
    return;
  }
  Hand(bytes.data(), bytes.size());
}

Status FileOutput::Commit() { return Finish(true); }

Status FileOutput::CommitNoReplace() { return Finish(false); }

Status FileOutput::Prepare() {
  if (prepared_) return Status::Ok();
  if (file_ == nullptr) return Error("Cannot write " + target_ + ": not open");
  Drain();
  buffer_.reset();
  EndBackgroundSync();
  bool ok = !failed_ && std::fflush(file_) == 0;
  if (ok) {
    sync_failure_ = backend::SyncWritten(backend::FileDescriptor(file_));
    ok = sync_failure_.empty();
  }
  // A self-removing file stays open until it is kept: closing it now would
  // remove it.
  if (!self_removing_) {
    ok = (std::fclose(std::exchange(file_, nullptr)) == 0) && ok;
  }
  if (!ok || WriteFailureInjected(target_)) {
    failed_ = true;
    std::string why = !sync_failure_.empty() ? sync_failure_
                      : ok                    ? "write failed"
                                              : backend::LastErrorText();
    Discard();
    return Error("Cannot write " + target_ + ": " + why);
  }
  prepared_ = true;
  return Status::Ok();
}

Status FileOutput::Keep() {
  std::optional<std::random_device> random;  // only when a name was taken
  for (int attempt = 0; attempt < 100; ++attempt) {
    bool name_taken = false;
    Status kept = backend::KeepFile(file_, temp_path_, &name_taken);
    if (kept) {
      // Named from here on: the interrupt handler removes it until the
      // rename. (Entered only now, so that it never removes a file of the
      // same name that belongs to another process.)
      interrupt_entry_ = RemovedOnInterrupt(temp_path_);
      self_removing_ = false;
      bool closed = std::fclose(std::exchange(file_, nullptr)) == 0;
      if (closed) return Status::Ok();
      return Error("Cannot write " + target_ + ": " + backend::LastErrorText());
    }
    if (!name_taken) return kept;
    if (!random) random.emplace();
    temp_path_ = TemporaryName(target_, *random);
  }
  return Error("Cannot create a temporary file for " + target_);
}

Status FileOutput::Finish(bool replace) {
  if (Status ready = Prepare(); !ready) return ready;
  if (self_removing_) {
    if (Status kept = Keep(); !kept) {
      failed_ = true;
      Discard();
      return kept;
    }
  }
  Status moved = replace ? backend::MoveOver(temp_path_, target_)
                         : RenameNoReplace(temp_path_, target_);
  if (!moved) {
    failed_ = true;
    Discard();
    return moved;
  }
  temp_path_.clear();
  interrupt_entry_.Release();
  return Status::Ok();
}

void FileOutput::Discard() {
  // The sync on another thread uses the file's descriptor: it ends first.
  EndBackgroundSync();
  buffer_.reset();
  used_ = 0;
  unsynced_ = 0;
  // Closing a self-removing file removes it; a named one is removed here.
  if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
  if (!temp_path_.empty() && !self_removing_) std::remove(temp_path_.c_str());
  temp_path_.clear();
  self_removing_ = false;
  interrupt_entry_.Release();
}

Status WriteWholeFile(const std::string& path, std::string_view bytes) {
  Expected<FileOutput> out = FileOutput::Create(path);
  if (!out) return out.error();
  out->Write(bytes);
  return out->Commit();
}

}  // namespace platform
