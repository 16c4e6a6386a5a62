#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>
#include <utility>
#include <vector>

#include "platform/file_content.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/wildcard.h"
#include "tests/platform/test_support.h"
#include "tests/support/special_files.h"

namespace {

using namespace platform;

const std::string kAwkwardBytes("line\r\nnext\rlast\nNUL\0here\x1a after\xff",
                                30);

class Files : public ::testing::Test {
 protected:
  tests_support::ScopedTempDir folder_;
};

TEST_F(Files, WholeFilesKeepEveryByte) {
  std::string path = folder_.Write("bytes.bin", kAwkwardBytes);
  Expected<std::string> read = ReadWholeFile(path);
  ASSERT_TRUE(read) << read.error().message();
  EXPECT_EQ(*read, kAwkwardBytes);
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(DirectoryExists(path));

  Expected<std::string> missing = ReadWholeFile(folder_.File("none.txt"));
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().message().find("none.txt"), std::string::npos);
}

// A folder given where a file is read is refused with a message naming it,
// not taken for a file of the largest size.
TEST_F(Files, AFolderIsRefusedNamingIt) {
  const std::string folder = folder_.path();
  Expected<std::string> read = ReadWholeFile(folder);
  ASSERT_FALSE(read);
  EXPECT_EQ(read.error().message(), "Cannot open " + folder + ": it is a folder");
  Expected<FileContent> content = FileContent::Read(folder);
  ASSERT_FALSE(content);
  EXPECT_EQ(content.error().message(), read.error().message());
}

#ifndef _WIN32
// A FIFO would keep a reader waiting for a writer, a device may never end:
// both are refused at once, naming the path.
TEST_F(Files, AFifoOrADeviceIsRefusedAtOnce) {
  tests_support::GuardedFifo fifo(folder_.File("fifo"));
  ASSERT_TRUE(fifo.made());
  for (const std::string& path : {fifo.path(), std::string("/dev/null")}) {
    SCOPED_TRACE(path);
    Expected<std::string> read = ReadWholeFile(path);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message(), "Cannot open " + path + ": not a regular file");
    EXPECT_FALSE(FileContent::Read(path));
  }
}
#endif

// The opener of every input: the size it had when opened, and its bytes.
TEST_F(Files, AnInputFileGivesItsSizeAndBytes) {
  std::string path = folder_.Write("bytes.bin", kAwkwardBytes);
  Expected<InputFile> input = InputFile::Open(path);
  ASSERT_TRUE(input) << input.error().message();
  EXPECT_EQ(input->size(), kAwkwardBytes.size());
  EXPECT_EQ(input->path(), path);
  Expected<std::string> bytes = input->ReadAll();
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, kAwkwardBytes);
  Expected<InputFile> missing = InputFile::Open(folder_.File("none.txt"));
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().message().rfind("Cannot open " + folder_.File("none.txt") + ": ", 0), 0u);
}

// Mapped or read, the content is the file's bytes, and a file that cannot
// be read gives the error of a whole read.
TEST_F(Files, FileContentKeepsEveryByte) {
  std::string big;
  for (int i = 0; big.size() < 3 * 65536 + 17; ++i) big += kAwkwardBytes + std::to_string(i);
  for (const std::string& bytes : {kAwkwardBytes, big, std::string()}) {
    std::string path = folder_.Write("content.bin", bytes);
    Expected<FileContent> content = FileContent::Read(path);
    ASSERT_TRUE(content) << content.error().message();
    EXPECT_EQ(content->bytes(), bytes);
    // Moved, the bytes stay where they were.
    const char* where = content->bytes().data();
    FileContent moved = std::move(*content);
    EXPECT_EQ(moved.bytes(), bytes);
    if (!bytes.empty()) {
      EXPECT_EQ(moved.bytes().data(), where);
    }
    FileContent assigned;
    EXPECT_TRUE(assigned.bytes().empty());
    assigned = std::move(moved);
    EXPECT_EQ(assigned.bytes(), bytes);
  }
  const std::string none = folder_.File("none.txt");
  Expected<FileContent> missing = FileContent::Read(none);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().message(), ReadWholeFile(none).error().message());
}

TEST_F(Files, RenameNeverReplaces) {
  std::string a = folder_.Write("a.txt", "A");
  std::string b = folder_.Write("b.txt", "B");

  Status rename = RenameNoReplace(a, b);
  ASSERT_FALSE(rename);
  EXPECT_NE(rename.error().message().find("b.txt"), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(a), "A");
  EXPECT_EQ(*ReadWholeFile(b), "B");

  std::string d = folder_.File("d.txt");
  ASSERT_TRUE(RenameNoReplace(a, d));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(*ReadWholeFile(d), "A");

  EXPECT_FALSE(RenameNoReplace(folder_.File("gone.txt"), folder_.File("x.txt")));
  EXPECT_FALSE(FileExists(folder_.File("x.txt")));

  ASSERT_TRUE(RemoveFile(d));
  EXPECT_FALSE(FileExists(d));
  EXPECT_FALSE(RemoveFile(d));
}

TEST_F(Files, FoldersAndSeparators) {
  std::string sep(1, PathSeparator());
  std::string deep = folder_.path() + "one" + sep + "two" + sep + "three";
  ASSERT_TRUE(MakeDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));
  EXPECT_TRUE(MakeDirectories(deep));  // already there

  std::string file = folder_.Write("plain", "x");
  EXPECT_FALSE(MakeDirectories(file + sep + "below"));

  EXPECT_EQ(WithTrailingSeparator("dir"), "dir" + sep);
  EXPECT_EQ(WithTrailingSeparator("dir" + sep), "dir" + sep);
  EXPECT_EQ(WithTrailingSeparator(""), "");
  EXPECT_TRUE(IsPathSeparator(PathSeparator()));
#ifdef _WIN32
  EXPECT_EQ(PathSeparator(), '\\');
  EXPECT_TRUE(IsPathSeparator('/'));
#else
  EXPECT_EQ(PathSeparator(), '/');
  EXPECT_FALSE(IsPathSeparator('\\'));
#endif
}

TEST_F(Files, ProgramAndTemporaryFolders) {
  std::string temp = TempDirectory();
  ASSERT_FALSE(temp.empty());
  EXPECT_TRUE(IsPathSeparator(temp.back()));
  EXPECT_TRUE(DirectoryExists(temp));

  std::string exe_dir = ExecutableDirectory();
  ASSERT_FALSE(exe_dir.empty());
  EXPECT_TRUE(IsPathSeparator(exe_dir.back()));
#ifdef _WIN32
  EXPECT_TRUE(FileExists(exe_dir + "platform_test.exe")) << exe_dir;
#else
  EXPECT_TRUE(FileExists(exe_dir + "platform_test")) << exe_dir;
#endif
  // The test is linked statically: its own code lies in the executable.
  static const int here = 0;
  EXPECT_EQ(ModuleDirectory(&here), exe_dir);
  EXPECT_EQ(ModuleDirectory(nullptr), exe_dir);
}

#ifndef _WIN32
TEST_F(Files, TemporaryFolderFollowsTmpdir) {
  {
    tests_support::ScopedEnv tmpdir("TMPDIR", "/some/where");
    EXPECT_EQ(TempDirectory(), "/some/where/");
  }
  {
    tests_support::ScopedEnv tmpdir("TMPDIR", "");
    EXPECT_EQ(TempDirectory(), "/tmp/");
  }
}
#endif

std::vector<std::string> Names(const std::vector<FileEntry>& entries) {
  std::vector<std::string> names;
  for (const FileEntry& e : entries) names.push_back(e.name);
  return names;
}

TEST_F(Files, FindFilesMatchesLikeADirectorySearch) {
  for (const char* name : {"b.DC", "a.dc", "c.dco", "d.txt", "noext", "x.dc.bak"}) {
    folder_.Write(name, name);
  }
  ASSERT_TRUE(MakeDirectories(folder_.path() + "sub.dc"));

  using V = std::vector<std::string>;
  EXPECT_EQ(Names(FindFiles(folder_.path(), "*.dc")), (V{"a.dc", "b.DC", "sub.dc"}));
  EXPECT_EQ(Names(FindFiles(folder_.path(), "*.DC")), (V{"a.dc", "b.DC", "sub.dc"}));
  EXPECT_EQ(Names(FindFiles(folder_.path(), "?.txt")), (V{"d.txt"}));
  EXPECT_EQ(Names(FindFiles(folder_.path(), "*.*")),
            (V{"a.dc", "b.DC", "c.dco", "d.txt", "noext", "sub.dc", "x.dc.bak"}));
  EXPECT_EQ(Names(FindFiles(folder_.path(), "*")), Names(FindFiles(folder_.path(), "*.*")));
  EXPECT_EQ(Names(FindFiles(folder_.path(), "*.dc*")),
            (V{"a.dc", "b.DC", "c.dco", "sub.dc", "x.dc.bak"}));
  EXPECT_TRUE(FindFiles(folder_.path(), "*.xyz").empty());
  EXPECT_TRUE(FindFiles(folder_.File("missing"), "*").empty());

  for (const FileEntry& e : FindFiles(folder_.path(), "*")) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(e.is_directory, e.name == "sub.dc");
    EXPECT_EQ(e.is_regular, e.name != "sub.dc");
    constexpr int64_t kSecond = 1000000000;
    EXPECT_GT(e.modified_ns, 1500000000 * kSecond);  // some time after 2017
    EXPECT_GT(e.created_ns, 1500000000 * kSecond);
    EXPECT_LE(e.created_ns, e.modified_ns + 2 * kSecond);
  }
}

#ifndef _WIN32
TEST_F(Files, FindFilesDescribesEachEntryAsItStands) {
  // A link is listed as a link, whatever it leads to (or to nothing).
  folder_.Write("plain.dc", "x");
  const std::string elsewhere = folder_.Write("target.txt", "y");
  ASSERT_TRUE(MakeDirectories(folder_.File("folder.dc")));
  ASSERT_EQ(::symlink(elsewhere.c_str(), folder_.File("file-link.dc").c_str()), 0);
  ASSERT_EQ(::symlink(folder_.File("folder.dc").c_str(),
                      folder_.File("folder-link.dc").c_str()),
            0);
  ASSERT_EQ(::symlink(folder_.File("none").c_str(),
                      folder_.File("dangling.dc").c_str()),
            0);
  ASSERT_EQ(::mkfifo(folder_.File("fifo.dc").c_str(), 0600), 0);

  std::vector<std::string> seen;
  for (const FileEntry& e : FindFiles(folder_.path(), "*.dc")) {
    SCOPED_TRACE(e.name);
    seen.push_back(e.name);
    EXPECT_EQ(e.is_regular, e.name == "plain.dc");
    EXPECT_EQ(e.is_directory, e.name == "folder.dc");
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"dangling.dc", "fifo.dc",
                                            "file-link.dc", "folder-link.dc",
                                            "folder.dc", "plain.dc"}));
}
#endif

TEST(Wildcard, Patterns) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  for (const Case& c : {Case{"*", "", true}, {"*.*", "name", true}, {"*.*", "name.ext", true},
                        {"a*b*c", "aXXbYYc", true}, {"a*b*c", "aXXbYYcd", false},
                        {"?", "x", true}, {"?", "", false}, {"?", "xy", false},
                        {"JOB.dco", "job.DCO", true}, {"*.dc", "a.dco", false},
                        {"*.dc", "adc", false}, {"***x", "x", true}}) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
  }
  // Letters beyond a to z are compared as they are.
  EXPECT_FALSE(WildcardMatch("\xe6", "\xc6"));
  // A long name against many stars ends quickly.
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

}  // namespace
