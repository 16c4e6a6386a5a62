// One table of INI cases with the results written from the rules of the
// profile functions. The same cases run against the posix reader natively
// and against the Windows profile functions under wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/platform/test_support.h"
#include "tests/support/special_files.h"

namespace {

using Names = std::vector<std::string>;

// Each lookup from a file loaded for it alone.
Names ProfileSectionNames(const std::string& path) {
  return platform::Profile::Load(path).SectionNames();
}
Names ProfileKeyNames(const std::string& path, const std::string& section) {
  return platform::Profile::Load(path).KeyNames(section);
}
std::string ProfileString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
  return platform::Profile::Load(path).String(section, key, fallback);
}
int ProfileInt(const std::string& path, const std::string& section,
               const std::string& key, int fallback) {
  return platform::Profile::Load(path).Int(section, key, fallback);
}

struct Lookup {
  const char* section;
  const char* key;
  const char* expected;  // with default "<default>"
};

struct KeyList {
  const char* section;
  Names expected;
};

struct IniCase {
  const char* name;
  std::string bytes;
  Names sections;
  std::vector<KeyList> keys;
  std::vector<Lookup> lookups;
};

std::vector<IniCase> Cases() {
  using namespace std::string_literals;
  return {
      {"quotes",
       "[Q]\r\n"
       "a=\"quoted value\"\r\n"
       "b='single'\r\n"
       "c=\"mismatch'\r\n"
       "d=\"\r\n"
       "e=\"\"\r\n"
       "f=\"  inner blanks  \"\r\n"
       "g=\"a\"b\"\r\n"
       "h=x\"y\"\r\n"
       "i=  \"after blanks\"  \r\n",
       {"Q"},
       {{"Q", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}}},
       {{"Q", "a", "quoted value"},
        {"Q", "b", "single"},
        {"Q", "c", "\"mismatch'"},
        {"Q", "d", "\""},
        {"Q", "e", ""},
        {"Q", "f", "  inner blanks  "},
        {"Q", "g", "a\"b"},
        {"Q", "h", "x\"y\""},
        {"Q", "i", "after blanks"}}},

      {"blanks",
       "   [Blank]   \r\n"
       "   key one   =   value with  inner  blanks   \r\n"
       "\ttab\t=\ttabbed\t\r\n"
       "eq = a = b\r\n",
       {"Blank"},
       {{"Blank", {"key one", "tab", "eq"}}},
       {{"Blank", "key one", "value with  inner  blanks"},
        {"Blank", "tab", "tabbed"},
        {"Blank", "eq", "a = b"},
        {"  Blank  ", "  tab  ", "tabbed"}}},

      {"comments",
       "; a comment before any section\r\n"
       "[C]\r\n"
       ";commented=1\r\n"
       "   ; indented comment=2\r\n"
       "real=3 ; not a comment\r\n"
       "[OnlyComments]\r\n"
       "; nothing\r\n"
       "; here\r\n"
       "[After]\r\n"
       "k=v\r\n",
       {"C", "OnlyComments", "After"},
       {{"C", {"real"}}, {"OnlyComments", {}}, {"After", {"k"}}},
       {{"C", "real", "3 ; not a comment"},
        {"OnlyComments", "anything", "<default>"},
        {"After", "k", "v"}}},

      {"duplicates and case",
       "[Dup]\r\n"
       "Key=first\r\n"
       "KEY=second\r\n"
       "other=x\r\n",
       {"Dup"},
       {{"DUP", {"Key", "KEY", "other"}}},
       {{"dup", "key", "first"},
        {"Dup", "KEY", "first"},
        {"DuP", "OTHER", "x"},
        {"Dup", "missing", "<default>"},
        {"Missing", "Key", "<default>"}}},

      {"lines without equals and empty values",
       "[M]\r\n"
       "novalue\r\n"
       "empty=\r\n"
       "blanks=    \r\n"
       "after=1\r\n",
       {"M"},
       {{"M", {"empty", "blanks", "after"}}},
       {{"M", "novalue", "<default>"},
        {"M", "empty", ""},
        {"M", "blanks", ""},
        {"M", "after", "1"}}},

      {"CR-only line ends, no final line end",
       "[R]\rone=1\rtwo=2\r\r[S]\rthree=3",
       {"R", "S"},
       {{"R", {"one", "two"}}, {"S", {"three"}}},
       {{"R", "two", "2"}, {"S", "three", "3"}}},

      {"LF-only line ends and blank lines",
       "\n\n[U]\n\nx=1\n\n\ny=2\n",
       {"U"},
       {{"U", {"x", "y"}}},
       {{"U", "y", "2"}}},

      {"lines before the first section",
       "orphan=1\r\n[A]\r\nx=1\r\n",
       {"A"},
       {{"A", {"x"}}},
       {{"A", "x", "1"}, {"A", "orphan", "<default>"}}},

      {"text after the closing bracket",
       "[Sec] trailing words\r\nk=v\r\n",
       {"Sec"},
       {{"Sec", {"k"}}},
       {{"Sec", "k", "v"}}},

      {"NUL bytes end a name or a value",
       "[N]\nbefore=a\0b\nna\0me=v\nlast=z\n"s,
       {"N"},
       {{"N", {"before", "na", "last"}}},
       {{"N", "before", "a"}, {"N", "na", "v"}, {"N", "last", "z"}}},

      {"empty sections keep their place",
       "[First]\r\n[Second]\r\nk=1\r\n[Third]\r\n",
       {"First", "Second", "Third"},
       {{"First", {}}, {"Second", {"k"}}, {"Third", {}}},
       {{"Second", "k", "1"}}},

      {"only comments", "; one\r\n; two\r\n", {}, {}, {}},
      {"empty file", "", {}, {}, {}},
  };
}

class ProfileTable : public ::testing::Test {
 protected:
  tests_support::ScopedTempDir folder_;
};

TEST_F(ProfileTable, EveryCaseGivesTheProfileResults) {
  int n = 0;
  for (const IniCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    std::string path = folder_.Write("case" + std::to_string(n++) + ".ini", c.bytes);
    EXPECT_EQ(ProfileSectionNames(path), c.sections);
    for (const KeyList& keys : c.keys) {
      SCOPED_TRACE(keys.section);
      EXPECT_EQ(ProfileKeyNames(path, keys.section), keys.expected);
    }
    for (const Lookup& l : c.lookups) {
      SCOPED_TRACE(std::string(l.section) + "/" + l.key);
      EXPECT_EQ(ProfileString(path, l.section, l.key, "<default>"), l.expected);
    }
    // The file read once answers every lookup alike.
    const platform::Profile profile = platform::Profile::Load(path);
    EXPECT_EQ(profile.SectionNames(), c.sections);
    for (const KeyList& keys : c.keys) {
      EXPECT_EQ(profile.KeyNames(keys.section), keys.expected) << keys.section;
    }
    for (const Lookup& l : c.lookups) {
      EXPECT_EQ(profile.String(l.section, l.key, "<default>"), l.expected)
          << l.section << "/" << l.key;
    }
  }
}

TEST_F(ProfileTable, ValuesAreCutTo2047Characters) {
  std::string long_value(5000, 'v');
  std::string quoted(2047, 'q');
  std::string path = folder_.Write(
      "long.ini", "[L]\r\nlong=" + long_value + "\r\nquoted=\"" + quoted +
                      "\"\r\nnext=1\r\n");
  EXPECT_EQ(ProfileString(path, "L", "long", ""), std::string(2047, 'v'));
  EXPECT_EQ(ProfileString(path, "L", "quoted", ""), quoted);
  EXPECT_EQ(ProfileString(path, "L", "next", ""), "1");
}

TEST_F(ProfileTable, NameListsAreCutTo16384Bytes) {
  // 2000 names of 8 characters: each takes 9 bytes of the 16383 that the
  // final NUL leaves, so 1820 fit whole and the next is cut to 2 characters.
  std::string ini = "[Many]\r\n";
  std::string sections;
  for (int i = 0; i < 2000; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "key%05d", i);
    ini.append(name).append("=1\r\n");
    sections.append("[").append(name).append("]\r\n");
  }
  std::string keys_path = folder_.Write("keys.ini", ini);
  Names keys = ProfileKeyNames(keys_path, "Many");
  ASSERT_EQ(keys.size(), 1821u);
  EXPECT_EQ(keys[1819], "key01819");
  EXPECT_EQ(keys[1820], "ke");

  std::string sections_path = folder_.Write("sections.ini", sections);
  Names names = ProfileSectionNames(sections_path);
  ASSERT_EQ(names.size(), 1821u);
  EXPECT_EQ(names[0], "key00000");
  EXPECT_EQ(names[1820], "ke");
}

TEST_F(ProfileTable, MissingFileGivesDefaults) {
  std::string path = folder_.File("absent.ini");
  EXPECT_TRUE(ProfileSectionNames(path).empty());
  EXPECT_TRUE(ProfileKeyNames(path, "Any").empty());
  EXPECT_EQ(ProfileString(path, "Any", "key", "fallback"), "fallback");
  // Trailing blanks of a default are dropped, as the profile functions do.
  EXPECT_EQ(ProfileString(path, "Any", "key", "fallback   "), "fallback");
  EXPECT_EQ(ProfileInt(path, "Any", "key", 17), 17);
}

// A folder (or, on posix, a FIFO or a device) given as the INI file reads
// as a missing file: no sections, every value its default, and no wait.
TEST_F(ProfileTable, AFileThatIsNoRegularFileGivesDefaults) {
  std::vector<std::string> paths = {folder_.path()};
#ifndef _WIN32
  tests_support::GuardedFifo fifo(folder_.File("fifo.ini"));
  ASSERT_TRUE(fifo.made());
  paths.push_back(fifo.path());
  paths.push_back("/dev/null");
#endif
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(ProfileSectionNames(path).empty());
    EXPECT_TRUE(ProfileKeyNames(path, "DAS4").empty());
    EXPECT_EQ(ProfileString(path, "DAS4", "Firma1", "-  "), "-");
    EXPECT_EQ(ProfileInt(path, "DAS4", "GpsMetode", 8), 8);
    const platform::Profile profile = platform::Profile::Load(path);
    EXPECT_TRUE(profile.SectionNames().empty());
    EXPECT_EQ(profile.String("DAS4", "Firma1", "-"), "-");
    EXPECT_EQ(profile.Int("DAS4", "GpsMetode", 8), 8);
  }
}

// Many keys, some of them repeated: the first of each wins, every lookup
// alike, with the key names cut as the profile functions cut them.
TEST_F(ProfileTable, RepeatedKeysOfALargeSection) {
  std::string ini = "[Big]\r\n";
  for (int i = 0; i < 20000; ++i) {
    ini += "FIELD" + std::to_string(i % 5000) + "=v" + std::to_string(i) + "\r\n";
  }
  ini += "[big]\r\nFIELD1=second section\r\n";
  std::string path = folder_.Write("big.ini", ini);
  const platform::Profile profile = platform::Profile::Load(path);
  EXPECT_EQ(profile.SectionNames(), (Names{"Big", "big"}));
  EXPECT_EQ(profile.String("BIG", "field1", ""), "v1");
  EXPECT_EQ(profile.String("Big", "FIELD4999", ""), "v4999");
  EXPECT_EQ(profile.Int("Big", "FIELD4998", -1), 0);  // "v4998" is no number
  EXPECT_EQ(profile.KeyNames("Big"), ProfileKeyNames(path, "Big"));
  EXPECT_EQ(ProfileString(path, "Big", "FIELD4999", ""), "v4999");
}

TEST_F(ProfileTable, IntegersAreReadLikeTheProfileFunctions) {
  std::string path = folder_.Write("int.ini",
                                   "[I]\r\n"
                                   "plain=42\r\n"
                                   "negative=-7\r\n"
                                   "hex=0x1F\r\n"
                                   "trailing=12abc\r\n"
                                   "word=abc\r\n"
                                   "empty=\r\n"
                                   "blanks=   99   \r\n"
                                   "quoted=\"5\"\r\n"
                                   "GpsMetode=3\r\n");
  struct Case {
    const char* section;
    const char* key;
    int fallback, expected;
  };
  for (const Case& c : {Case{"I", "plain", -1, 42}, {"I", "negative", -1, -7},
                        {"I", "hex", -1, 31}, {"I", "trailing", -1, 12}, {"I", "word", -1, 0},
                        {"I", "empty", 8, 8}, {"I", "blanks", -1, 99}, {"I", "quoted", -1, 5},
                        {"i", "gpsmetode", 8, 3}, {"I", "absent", 8, 8}}) {
    EXPECT_EQ(ProfileInt(path, c.section, c.key, c.fallback), c.expected) << c.key;
  }
}

TEST_F(ProfileTable, AnyBytesAreReadWithoutHarm) {
  // Every byte value in every position, in lines of every length, also
  // brackets and equals signs in odd places: nothing may crash or hang.
  std::mt19937 random(12345);
  std::string junk;
  const char pieces[] = "[]=;\"'\r\n\t \0\x1a\xff";
  for (int i = 0; i < 4000; ++i) {
    junk += (random() % 3 == 0) ? char(random() % 256)
                                : pieces[random() % (sizeof pieces - 1)];
  }
  std::string path = folder_.Write("junk.ini", junk);
  for (const std::string& section : ProfileSectionNames(path)) {
    for (const std::string& key : ProfileKeyNames(path, section)) {
      (void)ProfileString(path, section, key, "");
      (void)ProfileInt(path, section, key, 0);
    }
  }
  std::string open = folder_.Write("open.ini", "[Unclosed\r\n[\r\n]\r\n[]\r\n=\r\n");
  (void)ProfileSectionNames(open);
  (void)ProfileKeyNames(open, "");
  (void)ProfileString(open, "", "", "");
}

}  // namespace
