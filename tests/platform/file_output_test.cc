#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/process.h"
#include "tests/platform/test_support.h"

namespace {

using namespace platform;

class FileOutputTest : public ::testing::Test {
 protected:
  // The names in the folder: no temporary file may stay behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const FileEntry& e : FindFiles(folder_.path(), "*")) names.push_back(e.name);
    return names;
  }
  tests_support::ScopedTempDir folder_;
};

using V = std::vector<std::string>;

TEST_F(FileOutputTest, CommitReplacesTheTargetWithExactBytes) {
  std::string target = folder_.Write("out.txt", "old content");
  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_TRUE(out) << out.error().message();
  EXPECT_EQ(out->target(), target);
  out->Write("line one\r\n");
  out->Put('\n');
  out->Write(std::string("\0\x1a", 2));
  // Until the commit the old file is what everybody reads.
  EXPECT_EQ(*ReadWholeFile(target), "old content");
  ASSERT_TRUE(out->Commit());
  EXPECT_EQ(*ReadWholeFile(target), std::string("line one\r\n\n\0\x1a", 13));
  EXPECT_EQ(Names(), (V{"out.txt"}));
}

// Many megabytes in small writes and in one large one go out in pieces;
// every byte arrives once, in order.
TEST_F(FileOutputTest, LargeOutputsArriveWhole) {
  std::string small_part, large_part((size_t{19} << 20) + 7, '\0');
  for (size_t i = 0; small_part.size() < (size_t{17} << 20) + 3; ++i) {
    small_part += std::to_string(i) + "\r\n";
  }
  for (size_t i = 0; i < large_part.size(); ++i) {
    large_part[i] = static_cast<char>('a' + i % 23);
  }
  std::string target = folder_.Write("large.txt", "old");
  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_TRUE(out) << out.error().message();
  for (size_t at = 0; at < small_part.size(); at += 1000) {
    out->Write(std::string_view(small_part).substr(at, 1000));
  }
  out->Write(large_part);
  out->Put('!');
  ASSERT_TRUE(out->Commit());
  Expected<std::string> written = ReadWholeFile(target);
  ASSERT_TRUE(written);
  EXPECT_TRUE(*written == small_part + large_part + "!");
  EXPECT_EQ(Names(), (V{"large.txt"}));
}

TEST_F(FileOutputTest, InjectedFailureLeavesTheTargetAsItWas) {
  std::string target = folder_.Write("keep.dc", "precious\r\n");
  tests_support::ScopedEnv fail("PELIXO_FAIL_WRITES", "keep.dc");
  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_TRUE(out);
  out->Write("replacement");
  Status committed = out->Commit();
  ASSERT_FALSE(committed);
  EXPECT_NE(committed.error().message().find(target), std::string::npos);
  EXPECT_TRUE(out->failed());
  EXPECT_EQ(*ReadWholeFile(target), "precious\r\n");
  EXPECT_EQ(Names(), (V{"keep.dc"}));

  // A new file is not created either; other paths are written as usual.
  EXPECT_FALSE(WriteWholeFile(folder_.File("new.keep.dc"), "x"));
  EXPECT_FALSE(FileExists(folder_.File("new.keep.dc")));
  EXPECT_TRUE(WriteWholeFile(folder_.File("other.txt"), "x"));
  EXPECT_EQ(Names(), (V{"keep.dc", "other.txt"}));
}

TEST_F(FileOutputTest, UncommittedOutputIsDiscarded) {
  std::string target = folder_.Write("t.txt", "before");
  {
    Expected<FileOutput> out = FileOutput::Create(target);
    ASSERT_TRUE(out);
    out->Write("never seen");
  }
  EXPECT_EQ(*ReadWholeFile(target), "before");
  EXPECT_EQ(Names(), (V{"t.txt"}));

  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_TRUE(out);
  out->Write("dropped");
  out->Discard();
  EXPECT_FALSE(out->Commit());
  EXPECT_EQ(*ReadWholeFile(target), "before");
  EXPECT_EQ(Names(), (V{"t.txt"}));

  // Also while the pieces written so far are being synced.
  out = FileOutput::Create(target);
  ASSERT_TRUE(out);
  out->Write(std::string((size_t{25} << 20) + 1, 'x'));
  out->Discard();
  EXPECT_EQ(*ReadWholeFile(target), "before");
  EXPECT_EQ(Names(), (V{"t.txt"}));
}

TEST_F(FileOutputTest, MovedOutputsWriteOnce) {
  std::string target = folder_.File("moved.txt");
  Expected<FileOutput> created = FileOutput::Create(target);
  ASSERT_TRUE(created);
  FileOutput first = std::move(*created);
  first.Write("abc");
  // Enough to be synced in pieces, so that a sync may run during the move.
  const std::string pieces((size_t{17} << 20) + 5, 'p');
  first.Write(pieces);
  FileOutput second;
  second = std::move(first);
  second.Write("def");
  ASSERT_TRUE(second.Commit());
  EXPECT_TRUE(*ReadWholeFile(target) == "abc" + pieces + "def");
  EXPECT_EQ(Names(), (V{"moved.txt"}));
}

TEST_F(FileOutputTest, MissingFolderIsAnErrorNamingThePath) {
  std::string sep(1, PathSeparator());
  std::string target = folder_.path() + "no" + sep + "such" + sep + "file.txt";
  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_FALSE(out);
  EXPECT_NE(out.error().message().find(target), std::string::npos);
  Status whole = WriteWholeFile(target, "x");
  ASSERT_FALSE(whole);
  EXPECT_NE(whole.error().message().find(target), std::string::npos);
}

TEST_F(FileOutputTest, CommitNoReplaceKeepsAnExistingTarget) {
  std::string target = folder_.Write("there.txt", "first");
  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_TRUE(out);
  out->Write("second");
  EXPECT_FALSE(out->CommitNoReplace());
  EXPECT_EQ(*ReadWholeFile(target), "first");
  EXPECT_EQ(Names(), (V{"there.txt"}));
}

// A process that ends before its commits, without discarding anything (a
// crash, a kill, the end of the host of a library), leaves no temporary
// file: neither while writing nor once a file is prepared.
TEST_F(FileOutputTest, AProcessEndingBeforeTheCommitLeavesNoTemporaryFile) {
  std::string writing = folder_.Write("writing.dc", "old job\r\n");
  std::string prepared = folder_.Write("prepared.dc", "older job\r\n");
  tests_support::ScopedEnv child("PELIXO_PLATFORM_WRITER_TARGET", writing);
  tests_support::ScopedEnv second("PELIXO_PLATFORM_WRITER_PREPARED", prepared);
  Expected<Process> process = Process::Start(
      platform_test::SelfCommand("FileOutputChild.EndsBeforeTheCommit"));
  ASSERT_TRUE(process) << process.error().message();
  EXPECT_EQ(process->WaitForExit(), 7);
  EXPECT_EQ(*ReadWholeFile(writing), "old job\r\n");
  EXPECT_EQ(*ReadWholeFile(prepared), "older job\r\n");
  EXPECT_EQ(Names(), (V{"prepared.dc", "writing.dc"}));
}

// Run by the test above in a second process.
TEST(FileOutputChild, EndsBeforeTheCommit) {
  const char* writing = std::getenv("PELIXO_PLATFORM_WRITER_TARGET");
  const char* prepared = std::getenv("PELIXO_PLATFORM_WRITER_PREPARED");
  if (writing == nullptr || prepared == nullptr) {
    GTEST_SKIP() << "only run as the child of a writer test";
  }
  Expected<FileOutput> first = FileOutput::Create(writing);
  Expected<FileOutput> second = FileOutput::Create(prepared);
  if (!first || !second) std::_Exit(1);
  // More than the writer gathers in memory, so the bytes are in the file.
  std::string bytes(size_t{3} << 20, 'x');
  first->Write(bytes);
  second->Write(bytes);
  if (!second->Prepare()) std::_Exit(2);
  std::fflush(stdout);
  std::_Exit(7);
}

#ifndef _WIN32
// On Linux the temporary file has no name until the commit: nothing in the
// folder even while it is written and prepared.
TEST_F(FileOutputTest, TheTemporaryFileHasNoNameBeforeTheCommit) {
  std::string target = folder_.Write("out.txt", "old");
  Expected<FileOutput> out = FileOutput::Create(target);
  ASSERT_TRUE(out) << out.error().message();
  out->Write(std::string(size_t{3} << 20, 'n'));
  EXPECT_EQ(Names(), (V{"out.txt"}));
  ASSERT_TRUE(out->Prepare());
  EXPECT_EQ(Names(), (V{"out.txt"}));
  ASSERT_TRUE(out->Commit());
  EXPECT_EQ(*ReadWholeFile(target), std::string(size_t{3} << 20, 'n'));
  EXPECT_EQ(Names(), (V{"out.txt"}));
}
#endif

}  // namespace
