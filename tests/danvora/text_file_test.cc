#include "danvora/text_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_content.h"
#include "platform/files.h"
#include "tests/danvora/test_util.h"
#include "tests/support/special_files.h"

namespace danvora {
namespace {

class TextFileTest : public ::testing::Test {
 protected:
  // A file in the test's own folder holding `bytes`.
  std::string FileOf(const std::string& bytes) {
    const std::string path = folder_ + "in.txt";
    testing::WriteFile(path, bytes);
    return path;
  }

  // The lines of `bytes` through platform::FileContent, each kept whole and cut
  // to `keep` characters here.
  std::vector<std::string> ReadAll(const std::string& bytes,
                                   size_t keep = 1000) {
    return Read<kWholeLibraryLines>(bytes, keep);
  }

  // The lines of `bytes` as the job is read: kept to 256 characters.
  std::vector<std::string> ReadWhole(const std::string& bytes) {
    return Read<text::kLibraryLines>(bytes, std::string::npos);
  }

 private:
  template <const text::LineRules& kRules>
  std::vector<std::string> Read(const std::string& bytes, size_t keep) {
    auto content = platform::FileContent::Read(FileOf(bytes));
    EXPECT_TRUE(content.ok());
    std::vector<std::string> lines;
    if (!content) return lines;
    text::LineReader<kRules> reader(content->bytes());
    for (std::string_view line; reader.Next(&line);) lines.emplace_back(line.substr(0, keep));
    return lines;
  }


  const std::string folder_ = testing::TestFolder(
      std::string("text_") +
      ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(TextFileTest, ReadsAsWindowsTextMode) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ReadAll("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(ReadAll("a\r\n\r\n"), (Lines{"a", ""}));
  // A lone CR stays; CR CR LF keeps the first CR.
  EXPECT_EQ(ReadAll("a\rb\r\r\nc\r"), (Lines{"a\rb\r", "c\r"}));
  // Ctrl-Z ends the file.
  EXPECT_EQ(ReadAll("a\nb\x1A" "c\nd\n"), (Lines{"a", "b"}));
  EXPECT_EQ(ReadAll(""), Lines{});
  EXPECT_EQ(ReadAll(std::string("a\0b\n", 4)), (Lines{std::string("a\0b", 3)}));
}

TEST_F(TextFileTest, LongLinesStayOneLine) {
  const std::string long_line(70000, 'x');
  const auto lines = ReadAll(long_line + "\r\nnext\r\n", 256);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(256, 'x'));
  EXPECT_EQ(lines[1], "next");
  // A CR LF across the reader's buffer boundary is still one line end.
  const std::string edge(65535, 'y');
  const auto split = ReadAll(edge + "\r\nz", 70000);
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0], edge);
  EXPECT_EQ(split[1], "z");
}

TEST_F(TextFileTest, WholeFileLinesAsTheReaderGivesThem) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ReadWhole("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(ReadWhole("a\nb\x1A" "c\nd\n"), (Lines{"a", "b"}));
  EXPECT_EQ(ReadWhole(""), Lines{});
  EXPECT_EQ(ReadWhole("\x1A"), Lines{});
  // Texts of the characters that matter, against the line reader.
  const char kAlphabet[] = {'a', '\r', '\n', '\x1A', '\0'};
  uint32_t random = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    const int size = round % 40;
    for (int i = 0; i < size; ++i) {
      random = random * 1103515245u + 12345u;
      bytes += kAlphabet[(random >> 16) % sizeof kAlphabet];
    }
    ASSERT_EQ(ReadWhole(bytes), ReadAll(bytes))
        << ::testing::PrintToString(bytes);
  }
  // Longer than a block of the file, with a CR LF across its boundary.
  const std::string edge = std::string(65535, 'y') + "\r\nz\r";
  EXPECT_EQ(ReadWhole(edge), ReadAll(edge, 256));
}

TEST_F(TextFileTest, WholeFileOfAFolderIsNoText) {
  // A folder opens on some systems and reports a size it does not have;
  // its read fails, and a failed read gives no text at all.
  const std::string dir = testing::TestFolder("whole_folder");
  EXPECT_FALSE(platform::FileContent::Read(dir).ok());
  EXPECT_FALSE(platform::FileContent::Read(dir + "none.txt").ok());
}

#ifndef _WIN32
// A FIFO would keep the library waiting for a writer, a device may never
// end: neither is opened as a text file.
TEST_F(TextFileTest, AFifoOrADeviceIsNoText) {
  tests_support::GuardedFifo fifo(testing::TestFolder("text_fifo") + "fifo");
  ASSERT_TRUE(fifo.made());
  for (const std::string& path : {fifo.path(), std::string("/dev/null")}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(platform::FileContent::Read(path).ok());
  }
  EXPECT_FALSE(platform::FileContent::Read(testing::TestFolder("text_dir")).ok());
}
#endif

TEST_F(TextFileTest, MissingFile) {
  EXPECT_FALSE(
      platform::FileContent::Read(testing::TestFolder("text_missing") + "none.txt").ok());
}

TEST_F(TextFileTest, WritesCrLfAndCommitsOnlyWhole) {
  const std::string dir = testing::TestFolder("text_write");
  const std::string path = dir + "out.txt";
  testing::WriteFile(path, "old");
  {
    auto out = TextOutput::Create(path);
    ASSERT_TRUE(out);
    out->Write("a\nb\n\nc");
    // Not committed: the old content stays.
  }
  EXPECT_EQ(testing::ReadFile(path), "old");
  auto out = TextOutput::Create(path);
  ASSERT_TRUE(out);
  out->Write("a\nb\n\nc");
  ASSERT_TRUE(out->Commit());
  EXPECT_EQ(testing::ReadFile(path), "a\r\nb\r\n\r\nc");
}

// The names in `dir`, in order.
std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const platform::FileEntry& entry : platform::FindFiles(dir, "*")) {
    names.push_back(entry.name);
  }
  return names;
}

TEST_F(TextFileTest, FolderIsNoTargetToWrite) {
  const std::string dir = testing::TestFolder("text_folder_target");
  ASSERT_TRUE(platform::MakeDirectories(dir + "out.txt"));
  EXPECT_FALSE(TextOutput::Create(dir + "out.txt"));
  EXPECT_EQ(Names(dir), std::vector<std::string>{"out.txt"});
}

// Several files replace their targets all or none: when one cannot, those
// replaced before it get their old content back, and nothing else is left.
TEST_F(TextFileTest, CommittedTogetherOrNotAtAll) {
  const std::string dir = testing::TestFolder("text_together");
  testing::WriteFile(dir + "a.txt", "old a");
  testing::WriteFile(dir + "b.txt", "old b");
  auto create = [&](const std::string& name) {
    auto out = TextOutput::Create(dir + name);
    EXPECT_TRUE(out);
    out->Write("new " + name);
    return std::move(*out);
  };
  {
    TextOutput a = create("a.txt"), n = create("n.txt"), b = create("b.txt"),
               c = create("c.txt");
    // Taken by a folder after the check: its replacement fails.
    ASSERT_TRUE(platform::RemoveFile(dir + "b.txt"));
    ASSERT_TRUE(platform::MakeDirectories(dir + "b.txt"));
    EXPECT_EQ(CommitTogether({&a, nullptr, &n, &b, &c}), &b);
  }
  EXPECT_EQ(testing::ReadFile(dir + "a.txt"), "old a");
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"a.txt", "b.txt"}));

  ASSERT_TRUE(platform::RemoveFile(dir + "a.txt"));
  testing::WriteFile(dir + "a.txt", "old a");
  testing::WriteFile(dir + "a.txt.old", "the user's");
  {
    TextOutput a = create("a.txt"), c = create("c.txt");
    EXPECT_EQ(CommitTogether({&a, &c}), nullptr);
  }
  EXPECT_EQ(testing::ReadFile(dir + "a.txt"), "new a.txt");
  EXPECT_EQ(testing::ReadFile(dir + "c.txt"), "new c.txt");
  EXPECT_EQ(testing::ReadFile(dir + "a.txt.old"), "the user's");
  EXPECT_EQ(Names(dir),
            (std::vector<std::string>{"a.txt", "a.txt.old", "b.txt", "c.txt"}));
}

}  // namespace
}  // namespace danvora
