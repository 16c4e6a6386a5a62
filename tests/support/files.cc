#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_output.h"
#include "platform/files.h"

namespace tests_support {

std::string ReadFile(const std::string& path) {
  platform::Expected<std::string> bytes = platform::ReadWholeFile(path);
  return bytes ? *bytes : "<missing " + path + ">";
}

void WriteFile(const std::string& path, std::string_view bytes) {
  EXPECT_TRUE(platform::WriteWholeFile(path, bytes).ok()) << path;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const platform::FileEntry& entry : platform::FindFiles(folder, "*")) {
    if (!entry.is_directory) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string TestData(const std::string& name) {
  return std::string(PELIXO_TEST_DATA) + "/" + name;
}

std::string TestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

}  // namespace tests_support
