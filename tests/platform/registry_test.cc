// Round trips through the registry: natively through a private store file,
// under wine through the real registry below a key of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "tests/platform/test_support.h"
#include "tests/support/files.h"

namespace {

using namespace platform;
using tests_support::ReadFile;
using tests_support::TestData;
using V = std::vector<std::string>;

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest()
      : store_("PELIXO_REGISTRY", folder_.File("registry.reg")),
        base_("Software\\PelixoPlatformTest\\" + std::to_string(std::random_device()())) {}
  ~RegistryTest() override { (void)DeleteRegistryTree(base_); }

  std::string Key(const std::string& below) const { return base_ + "\\" + below; }

  tests_support::ScopedTempDir folder_;
  tests_support::ScopedEnv store_;
  std::string base_;
};

// This test program, started again as a second process.
std::string SelfPath() {
#ifdef _WIN32
  return ExecutableDirectory() + "platform_test.exe";
#else
  return ExecutableDirectory() + "platform_test";
#endif
}

RegistryValue Bytes(RegistryType type, std::vector<uint8_t> data) {
  RegistryValue v;
  v.type = type;
  v.data = std::move(data);
  return v;
}

TEST_F(RegistryTest, ValuesSurviveAReopen) {
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, Key("Pelixo")));
  ASSERT_FALSE(RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Pelixo"), false));
  {
    Expected<RegistryKey> key =
        RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Pelixo"), true);
    ASSERT_TRUE(key) << key.error().message();
    ASSERT_TRUE(key->SetString("UploadFile", "C:\\Data\\\"odd\" name.txt"));
    ASSERT_TRUE(key->SetInt("Units", -5));
    ASSERT_TRUE(key->SetString("Empty", ""));
    ASSERT_TRUE(key->SetString("Lines", "one\r\ntwo"));
    ASSERT_TRUE(key->SetValue("Blob", Bytes(RegistryType::kBinary, {0x34, 0x12, 0, 0xff})));
    std::vector<uint8_t> big(100);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7);
    ASSERT_TRUE(key->SetValue("Big", Bytes(RegistryType::kBinary, big)));
    ASSERT_TRUE(key->SetValue("Multi", Bytes(RegistryType::kMultiString,
                                             {'a', 0, 'b', 0, 0})));
    ASSERT_TRUE(key->SetValue("Expand", Bytes(RegistryType::kExpandString,
                                              {'%', 'T', '%', 0})));
    ASSERT_TRUE(key->SetString("Replaced", "old"));
    ASSERT_TRUE(key->SetString("replaced", "new"));
  }
  EXPECT_TRUE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, Key("PELIXO")));
  Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, Key("pelixo"), false);
  ASSERT_TRUE(key) << key.error().message();
  EXPECT_EQ(key->GetString("uploadfile"), "C:\\Data\\\"odd\" name.txt");
  EXPECT_EQ(key->GetInt("Units"), -5);
  EXPECT_EQ(key->GetString("Empty"), "");
  EXPECT_EQ(key->GetString("Lines"), "one\r\ntwo");
  EXPECT_EQ(key->GetString("Replaced"), "new");
  EXPECT_EQ(key->GetString("Expand"), "%T%");
  EXPECT_TRUE(key->ValueExists("Blob"));
  EXPECT_FALSE(key->ValueExists("Absent"));
  EXPECT_EQ(key->GetString("Absent"), std::nullopt);
  // A value of another type is no string and no integer.
  EXPECT_EQ(key->GetString("Units"), std::nullopt);
  EXPECT_EQ(key->GetInt("UploadFile"), std::nullopt);
  EXPECT_EQ(key->GetInt("Blob"), std::nullopt);

  std::optional<RegistryValue> blob = key->GetValue("Blob");
  ASSERT_TRUE(blob);
  EXPECT_EQ(blob->type, RegistryType::kBinary);
  EXPECT_EQ(blob->data, (std::vector<uint8_t>{0x34, 0x12, 0, 0xff}));
  std::optional<RegistryValue> big = key->GetValue("Big");
  ASSERT_TRUE(big);
  ASSERT_EQ(big->data.size(), 100u);
  EXPECT_EQ(big->data[99], uint8_t(99 * 7));
  std::optional<RegistryValue> text = key->GetValue("UploadFile");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->type, RegistryType::kString);
  EXPECT_EQ(text->data.back(), 0);
  std::optional<RegistryValue> multi = key->GetValue("Multi");
  ASSERT_TRUE(multi);
  EXPECT_EQ(multi->type, RegistryType::kMultiString);
  EXPECT_EQ(multi->data, (std::vector<uint8_t>{'a', 0, 'b', 0, 0}));

  // The order of values is the system's affair; the set is not.
  V names = key->ValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (V{"Big", "Blob", "Empty", "Expand", "Lines", "Multi", "Replaced",
                      "Units", "UploadFile"}));
  ASSERT_TRUE(key->DeleteValue("UNITS"));
  EXPECT_FALSE(key->ValueExists("Units"));
  EXPECT_FALSE(key->DeleteValue("Units"));
}

TEST_F(RegistryTest, SubkeysMovesAndDeletes) {
  for (const char* name : {"Syncrona\\Terrapad\\Devices", "Syncrona\\Settings",
                           "Syncrona\\Other\\Deep\\Deeper", "Syncrona\\_Hidden"}) {
    ASSERT_TRUE(RegistryKey::Open(RegistryRoot::kCurrentUser, Key(name), true));
  }
  {
    Expected<RegistryKey> deep =
        RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Syncrona\\Other\\Deep"), false);
    ASSERT_TRUE(deep);
    ASSERT_TRUE(deep->SetString("Port", "COM1"));
    ASSERT_TRUE(deep->SetInt("Timeout", 10));
    ASSERT_TRUE(deep->SetValue("Raw", Bytes(RegistryType::kBinary, {1, 2, 3})));
    ASSERT_TRUE(deep->SetValue("Multi", Bytes(RegistryType::kMultiString, {'x', 0, 0})));
  }
  Expected<RegistryKey> root =
      RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Syncrona"), false);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->SubkeyNames(), (V{"_Hidden", "Other", "Settings", "Terrapad"}));

  // Moving onto an existing key changes nothing.
  Status onto = MoveRegistryKey(Key("Syncrona\\_Hidden"), Key("Syncrona\\Settings"));
  EXPECT_FALSE(onto);
  EXPECT_TRUE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, Key("Syncrona\\_Hidden")));
  EXPECT_FALSE(MoveRegistryKey(Key("Syncrona\\Missing"), Key("Syncrona\\Elsewhere")));

  ASSERT_TRUE(MoveRegistryKey(Key("Syncrona\\Other"), Key("Syncrona\\_Other")));
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, Key("Syncrona\\Other")));
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser,
                                      Key("Syncrona\\Other\\Deep")));
  Expected<RegistryKey> moved = RegistryKey::Open(
      RegistryRoot::kCurrentUser, Key("Syncrona\\_Other\\Deep"), false);
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->GetString("Port"), "COM1");
  EXPECT_EQ(moved->GetInt("Timeout"), 10);
  EXPECT_EQ(moved->GetValue("Raw")->data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(moved->GetValue("Multi")->type, RegistryType::kMultiString);
  EXPECT_EQ(moved->SubkeyNames(), (V{"Deeper"}));
  EXPECT_EQ(root->SubkeyNames(), (V{"_Hidden", "_Other", "Settings", "Terrapad"}));

  ASSERT_TRUE(DeleteRegistryTree(Key("Syncrona\\_Other")));
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser,
                                      Key("Syncrona\\_Other\\Deep\\Deeper")));
  EXPECT_FALSE(DeleteRegistryTree(Key("Syncrona\\_Other")));
  EXPECT_EQ(root->SubkeyNames(), (V{"_Hidden", "Settings", "Terrapad"}));
}

TEST_F(RegistryTest, AnotherProcessSeesTheValues) {
  {
    Expected<RegistryKey> key =
        RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Shared"), true);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetString("FromParent", "hello"));
  }
  tests_support::ScopedEnv child("PELIXO_PLATFORM_CHILD", Key("Shared"));
  std::string exe = SelfPath();
  Expected<Process> process = Process::Start(
      platform_test::Quoted(exe) + " --gtest_filter=RegistryChild.WritesBack");
  ASSERT_TRUE(process) << process.error().message();
  EXPECT_EQ(process->WaitForExit(), 0);
  Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Shared"), false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->GetInt("FromChild"), 7);
}

// Two processes writing at the same time lose none of each other's values:
// every change rereads the store under its lock.
TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
  ASSERT_TRUE(RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Busy"), true));
  tests_support::ScopedEnv child("PELIXO_PLATFORM_CHILD_MANY", Key("Busy"));
  std::vector<Process> writers;
  for (const char* tag : {"A", "B"}) {
    tests_support::ScopedEnv name("PELIXO_PLATFORM_CHILD_TAG", tag);
    Expected<Process> process = Process::Start(
        platform_test::Quoted(SelfPath()) + " --gtest_filter=RegistryChild.WritesMany");
    ASSERT_TRUE(process) << process.error().message();
    writers.push_back(std::move(*process));
  }
  for (Process& writer : writers) EXPECT_EQ(writer.WaitForExit(), 0);
  Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, Key("Busy"), false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ValueNames().size(), 30u);
  for (int i = 0; i < 15; ++i) {
    for (std::string name : {"A", "B"}) {
      name += std::to_string(i);
      EXPECT_EQ(key->GetInt(name), i);
    }
  }
}

// Run twice at once by ConcurrentWritersLoseNothing.
TEST(RegistryChild, WritesMany) {
  const char* path = std::getenv("PELIXO_PLATFORM_CHILD_MANY");
  const char* tag = std::getenv("PELIXO_PLATFORM_CHILD_TAG");
  if (path == nullptr || tag == nullptr) {
    GTEST_SKIP() << "only run as the child of a registry test";
  }
  Expected<RegistryKey> key = RegistryKey::Open(RegistryRoot::kCurrentUser, path, false);
  ASSERT_TRUE(key) << key.error().message();
  for (int i = 0; i < 15; ++i) {
    ASSERT_TRUE(key->SetInt(tag + std::to_string(i), i));
  }
}

// Run by AnotherProcessSeesTheValues in a second process.
TEST(RegistryChild, WritesBack) {
  const char* path = std::getenv("PELIXO_PLATFORM_CHILD");
  if (path == nullptr) GTEST_SKIP() << "only run as the child of a registry test";
  Expected<RegistryKey> key = RegistryKey::Open(RegistryRoot::kCurrentUser, path, false);
  ASSERT_TRUE(key) << key.error().message();
  ASSERT_EQ(key->GetString("FromParent"), "hello");
  ASSERT_TRUE(key->SetInt("FromChild", 7));
}

#ifndef _WIN32
// The store is the regedit export text that the machine's tools and the
// stand-ins write; these bytes are written by hand.
TEST_F(RegistryTest, StoreFileIsRegeditText) {
  std::string store =
      folder_.Write("registry.reg", ReadFile(TestData("platform/by_hand.reg")));
  Expected<RegistryKey> share = RegistryKey::Open(
      RegistryRoot::kLocalMachine, "SOFTWARE\\Corvane\\Share", false);
  ASSERT_TRUE(share) << share.error().message();
  EXPECT_EQ(share->GetString("CurrentGeoDataDirectory"), "C:\\Geo\\");
  // The local machine is read-only for the programs.
  EXPECT_FALSE(share->SetString("CurrentGeoDataDirectory", "x"));
  EXPECT_FALSE(RegistryKey::Open(RegistryRoot::kLocalMachine, "SOFTWARE\\New", true));

  Expected<RegistryKey> conv = RegistryKey::Open(
      RegistryRoot::kLocalMachine,
      "software\\corvane\\syncrona\\device drivers\\terrapad\\converter", false);
  ASSERT_TRUE(conv);
  EXPECT_EQ(conv->GetString("Directory"), "C:\\Conv");
  EXPECT_EQ(conv->GetString(""), "default");
  EXPECT_EQ(conv->GetInt("Count"), 10);
  EXPECT_EQ(conv->GetValue("Blob")->data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(conv->GetValue("Multi")->type, RegistryType::kMultiString);
  // Keys named only on the way to a deeper key exist too.
  EXPECT_TRUE(RegistryKey::KeyExists(RegistryRoot::kLocalMachine, "SOFTWARE\\Corvane"));
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, "SOFTWARE\\Corvane"));

  // A write keeps what was there and adds its own section.
  {
    Expected<RegistryKey> user = RegistryKey::Open(
        RegistryRoot::kCurrentUser, "Software\\Corvane\\Pelixo", true);
    ASSERT_TRUE(user);
    ASSERT_TRUE(user->SetString("DownloadFile", "C:\\Jobs\\Site1.txt"));
  }
  std::string text = *ReadWholeFile(store);
  EXPECT_EQ(text.rfind("REGEDIT4\n", 0), 0u);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Corvane\\Pelixo]\n"
                      "\"DownloadFile\"=\"C:\\\\Jobs\\\\Site1.txt\"\n"),
            std::string::npos);
  EXPECT_NE(text.find("\"Count\"=dword:0000000a\n"), std::string::npos);
  EXPECT_EQ(conv->GetInt("Count"), 10);
  // No lock or temporary file is left but the lock file itself.
  for (const FileEntry& e : FindFiles(folder_.path(), "*")) {
    EXPECT_TRUE(e.name == "registry.reg" || e.name == "registry.reg.lock") << e.name;
  }
}

TEST_F(RegistryTest, UnreadableStoreIsAnErrorAndStaysUntouched) {
  const std::string bad =
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=nonsense\n";
  std::string store = folder_.Write("registry.reg", bad);
  Expected<RegistryKey> key =
      RegistryKey::Open(RegistryRoot::kCurrentUser, "Software\\Y", true);
  ASSERT_FALSE(key);
  EXPECT_NE(key.error().message().find(store), std::string::npos);
  EXPECT_NE(key.error().message().find("line 4"), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(store), bad);

  folder_.Write("registry.reg", "not a registry file\n");
  EXPECT_FALSE(RegistryKey::Open(RegistryRoot::kCurrentUser, "Software\\Y", true));
}

// Keys may be 512 names deep; a deeper path, asked for or in the file, is
// refused at once instead of being worked through name by name.
TEST_F(RegistryTest, KeyPathsDeeperThan512LevelsAreRefused) {
  std::string deepest = "Software";
  for (int level = 2; level <= 512; ++level) deepest += "\\k";
  Expected<RegistryKey> key = RegistryKey::Open(RegistryRoot::kCurrentUser, deepest, true);
  ASSERT_TRUE(key) << key.error().message();
  ASSERT_TRUE(key->SetInt("Depth", 512));
  EXPECT_TRUE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, deepest));

  const std::string before = *ReadWholeFile(folder_.File("registry.reg"));
  Expected<RegistryKey> deeper =
      RegistryKey::Open(RegistryRoot::kCurrentUser, deepest + "\\k", true);
  ASSERT_FALSE(deeper);
  EXPECT_EQ(deeper.error().message(), "Registry key path too deep");
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, deepest + "\\k"));
  EXPECT_FALSE(MoveRegistryKey("Software\\k", "Software\\x\\y"));
  EXPECT_EQ(*ReadWholeFile(folder_.File("registry.reg")), before);

  std::string far = "[HKEY_CURRENT_USER";
  for (int level = 0; level < 50000; ++level) far += "\\k";
  std::string store = folder_.Write("registry.reg", "REGEDIT4\n\n" + far + "]\n");
  Expected<RegistryKey> any = RegistryKey::Open(RegistryRoot::kCurrentUser, "Software", true);
  ASSERT_FALSE(any);
  EXPECT_EQ(any.error().message(),
            "Registry store " + store + " line 3: Registry key path too deep");
}

// What the store writes back is what it has always written: sections in
// file order, a key named twice merged into its first section, deleted
// values and sections gone, a value given again replaced where it stood.
TEST_F(RegistryTest, StoreIsWrittenBackAsBefore) {
  folder_.Write("registry.reg", ReadFile(TestData("platform/written_back.before.reg")));
  {
    Expected<RegistryKey> key =
        RegistryKey::Open(RegistryRoot::kCurrentUser, "Software\\Z", true);
    ASSERT_TRUE(key) << key.error().message();
    ASSERT_TRUE(key->SetString("z", "last"));
  }
  ASSERT_TRUE(MoveRegistryKey("Software\\A", "Software\\Moved\\A"));
  // The moved key's own section, empty, goes to the end.
  EXPECT_EQ(*ReadWholeFile(folder_.File("registry.reg")),
            ReadFile(TestData("platform/written_back.after.reg")));
}

// A store changed by another program is seen at the next operation, also
// when it has the same size as before.
TEST_F(RegistryTest, StoreChangedOnDiskIsReadAgain) {
  const std::string head = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\P]\n";
  folder_.Write("registry.reg", head + "\"v\"=\"1\"\n");
  Expected<RegistryKey> key = RegistryKey::Open(RegistryRoot::kCurrentUser, "Software\\P", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->GetString("v"), "1");
  folder_.Write("registry.reg", head + "\"v\"=\"2\"\n");
  EXPECT_EQ(key->GetString("v"), "2");
  folder_.Write("registry.reg", head + "\"w\"=\"2\"\n");
  EXPECT_FALSE(key->ValueExists("v"));
}

TEST_F(RegistryTest, MissingStoreIsEmpty) {
  EXPECT_FALSE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, "Software"));
  EXPECT_TRUE(RegistryKey::KeyExists(RegistryRoot::kCurrentUser, ""));
  EXPECT_FALSE(RegistryKey::Open(RegistryRoot::kLocalMachine, "SOFTWARE", false));
  EXPECT_FALSE(FileExists(folder_.File("registry.reg")));
}
#endif

}  // namespace
