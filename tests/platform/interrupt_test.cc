// Interruptions of a program that writes files: posix signals. (Windows
// files need no handler until their commit; see file_output_test.cc.)
#include <gtest/gtest.h>

#ifndef _WIN32

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/interrupt.h"
#include "tests/platform/test_support.h"

namespace {

using namespace platform;
using V = std::vector<std::string>;

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

std::vector<std::string> Names(const tests_support::ScopedTempDir& folder) {
  std::vector<std::string> names;
  for (const FileEntry& e : FindFiles(folder.path(), "*")) names.push_back(e.name);
  return names;
}

// Waits for the child and gives the signal that ended it (0: it exited).
int EndingSignal(pid_t child) {
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// A large send interrupted part of the way: the program dies of the signal,
// the old file is intact and no temporary file stays beside it.
TEST(InterruptTest, AnInterruptedWriteLeavesNoTemporaryFile) {
  for (int signal_number : kInterrupts) {
    SCOPED_TRACE(signal_number);
    tests_support::ScopedTempDir folder;
    std::string target = folder.Write("out.DC", "old job\r\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RemoveTemporaryFilesOnInterrupt();
      Expected<FileOutput> out = FileOutput::Create(target);
      if (!out) ::_exit(1);
      std::string piece(size_t{4} << 20, 'x');
      out->Write(piece);
      out->Write(piece);
      char c = 'w';
      if (::write(ready[1], &c, 1) != 1) ::_exit(2);
      // Goes on writing until the signal comes.
      for (int i = 0; i < 16; ++i) out->Write(piece);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(::kill(child, signal_number), 0);
    EXPECT_EQ(EndingSignal(child), signal_number);
    EXPECT_EQ(*ReadWholeFile(target), "old job\r\n");
    EXPECT_EQ(Names(folder), (V{"out.DC"}));
  }
}

// A temporary file with a name (during a commit, or where the file system
// offers no unnamed files) stands in the table: the handler removes it, and
// only it, and then the signal ends the program. A signal the program was
// started to ignore stays ignored.
TEST(InterruptTest, TheHandlerRemovesTheNamedTemporaryFiles) {
  for (int signal_number : kInterrupts) {
    SCOPED_TRACE(signal_number);
    tests_support::ScopedTempDir folder;
    std::string temporary = folder.Write("out.DC.0badcafe.tmp", "part");
    std::string released = folder.Write("released.tmp", "kept");
    std::string other = folder.Write("other.txt", "kept");
    for (bool ignored : {true, false}) {
      pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        if (ignored) ::signal(signal_number, SIG_IGN);
        RemovedOnInterrupt entry(temporary);
        RemovedOnInterrupt done(released);
        done.Release();
        if (!entry.tracked()) ::_exit(1);
        RemoveTemporaryFilesOnInterrupt();
        ::raise(signal_number);
        ::_exit(0);
      }
      EXPECT_EQ(EndingSignal(child), ignored ? 0 : signal_number);
      EXPECT_EQ(FileExists(temporary), ignored);
    }
    EXPECT_EQ(Names(folder), (V{"other.txt", "released.tmp"}));
  }
}

}  // namespace

#endif  // _WIN32
