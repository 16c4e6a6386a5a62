// The front end's own rules: options anywhere in the command line, format
// names compared exactly, the paths it forms and the choice of the DC file.
#include "danvora-frontend/frontend.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/support/test_environment.h"

namespace {

using danvora_frontend::ParseCommandLine;

// Sets the modification time of `path` (on Windows its creation time too)
// to `ns` nanoseconds since 1970, which a file system without birth times
// gives as the creation time as well.
void SetFileTimes(const std::string& path, int64_t ns) {
#if defined(_WIN32)
  const uint64_t ticks = uint64_t(ns / 100) + 116444736000000000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  const bool set = SetFileTime(file, &time, nullptr, &time) != 0;
  CloseHandle(file);
  ASSERT_TRUE(set) << path;
#else
  const timespec times[2] = {{ns / 1000000000, ns % 1000000000},
                             {ns / 1000000000, ns % 1000000000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
#endif
}

TEST(FrontEndCommandLine, FormatNamesAndOptions) {
  auto options = ParseCommandLine("-Format=SDL -QA");
  EXPECT_EQ(options.format, 1);
  EXPECT_TRUE(options.report);
  EXPECT_FALSE(options.keep_dc);
  EXPECT_FALSE(options.upload);

  // The option is found whatever its case; the name must match exactly.
  EXPECT_EQ(ParseCommandLine("-format=ddh").format, 0);
  EXPECT_EQ(ParseCommandLine("-FORMAT=DDH").format, 10);
  // Without the option there is no point file.
  options = ParseCommandLine("-qa -dc");
  EXPECT_EQ(options.format, -1);
  EXPECT_TRUE(options.report);
  EXPECT_TRUE(options.keep_dc);

  const std::vector<std::pair<std::string, int>> names = {
      {"KX77", 0}, {"SDL", 1},  {"LANDCAD", 2}, {"GEOCAD", 3},
      {"ALT", 4},  {"ARGUS", 5}, {"COWI", 6},   {"CSV", 7},
      {"SVK", 8},  {"DAS4", 9}, {"DDH", 10},   {"DAS", 0},
      {"Komma", 0}, {"", 0}};
  for (const auto& [name, number] : names) {
    EXPECT_EQ(ParseCommandLine("-QA -Format=" + name + " -UP").format, number)
        << name;
  }
  // The name runs to the next blank or the end of the line.
  EXPECT_EQ(ParseCommandLine("x -Format=GEOCAD").format, 3);
  EXPECT_EQ(ParseCommandLine("-Format=GEOCAD-UP").format, 0);
  EXPECT_TRUE(ParseCommandLine("-Format=GEOCAD-UP").upload);
  EXPECT_TRUE(ParseCommandLine("  -up").upload);

  // A long command line is just text.
  std::string long_line(10000, 'x');
  long_line += " -Format=ALT -Up";
  options = ParseCommandLine(long_line);
  EXPECT_EQ(options.format, 4);
  EXPECT_TRUE(options.upload);
}

TEST(FrontEndDcFile, NewestByCreationTime) {
  using platform::FileEntry;
  // The later created file wins although the other was modified later;
  // only plain files count.
  std::vector<FileEntry> entries = {
      {".", 900, 900, true, false},         {"..", 900, 900, true, false},
      {"link.dc", 999, 999, false, false},  {"old.dc", 100, 500, false, true},
      {"new.dc", 200, 300, false, true},    {"folder.dc", 999, 999, true, false},
      {"same.dc", 200, 900, false, true}};
  EXPECT_EQ(danvora_frontend::NewestDcFile(entries), "new.dc");
  EXPECT_EQ(danvora_frontend::NewestDcFile({}), std::nullopt);
  EXPECT_EQ(danvora_frontend::NewestDcFile({{".", 1, 1, true, false}}),
            std::nullopt);
}

TEST(FrontEndDcFile, NewestOfTwoCreatedWithinOneSecond) {
  // "b.dc" is made after "a.dc" in the same second: the later one is found
  // although the second alone ties them (and "a.dc" comes first by name).
  // Where the file system keeps no birth time, the modification times,
  // set apart by a fraction of a second, count.
  const tests_support::ScopedTempDir dir;
  const std::string& work = dir.path();
  constexpr int64_t kSecond = 1000000000;
  constexpr int64_t kSometime = int64_t{1700000000} * kSecond;
  std::optional<std::string> newest;
  bool tied = false;
  for (int attempt = 0; attempt < 5 && !tied; ++attempt) {
    tests_support::WriteFile(work + "a.dc", "00NMa\r\n");
    tests_support::WriteFile(work + "b.dc", "00NMb\r\n");
    SetFileTimes(work + "a.dc", kSometime + 100000000);
    SetFileTimes(work + "b.dc", kSometime + 200000000);
    const std::vector<platform::FileEntry> found =
        platform::FindFiles(work, "*.dc");
    ASSERT_EQ(found.size(), 2u);
    ASSERT_EQ(found[0].name, "a.dc");
    // Made across a second's end: try again.
    tied = found[0].created_ns / kSecond == found[1].created_ns / kSecond;
    newest = danvora_frontend::NewestDcFile(found);
    (void)platform::RemoveFile(work + "a.dc");
    (void)platform::RemoveFile(work + "b.dc");
  }
  ASSERT_TRUE(tied);
  EXPECT_EQ(newest, "b.dc");
}

TEST(FrontEndSettings, ValuesOfPelixosKey) {
  const tests_support::ScopedTempDir dir;
  const std::string& work = dir.path();
  tests_support::PrivateSettings(work);
#if defined(_WIN32)
  GTEST_SKIP() << "the real registry is shared; covered by the native run";
#endif
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("UploadFile"), "");  // no key
  auto key = platform::RegistryKey::Open(platform::RegistryRoot::kCurrentUser,
                                         "Software\\Corvane\\Pelixo", true);
  ASSERT_TRUE(key.ok());
  ASSERT_TRUE(key->SetString("UploadFile", "D:\\Data\\P.geo").ok());
  ASSERT_TRUE(key->SetValue("DownloadFile",
                            {platform::RegistryType::kBinary, {0x34, 0x12, 9}})
                  .ok());
  ASSERT_TRUE(key->SetValue("CoordSysFile",
                            {platform::RegistryType::kBinary, {0xff, 0xff}})
                  .ok());
  ASSERT_TRUE(key->SetInt("Other", 7).ok());
  ASSERT_TRUE(key->SetValue("Cut", {platform::RegistryType::kString,
                                    {'a', 'b', 0, 'c', 0}})
                  .ok());
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("UploadFile"), "D:\\Data\\P.geo");
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("DownloadFile"), "4660");
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("CoordSysFile"), "-1");
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("Other"), "");
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("Cut"), "ab");
  EXPECT_EQ(danvora_frontend::ReadPelixoSetting("Missing"), "");
}

}  // namespace
