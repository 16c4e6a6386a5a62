#include "tests/support/scoped_temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/files.h"
#include "platform/path.h"
#include "tests/support/files.h"

namespace tests_support {

ScopedTempDir::ScopedTempDir() {
  std::random_device random;
  path_ = platform::TempDirectory() + "pelixo-test-" + std::to_string(random()) +
          std::to_string(random()) + platform::PathSeparator();
  EXPECT_TRUE(platform::MakeDirectories(path_).ok()) << path_;
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::string ScopedTempDir::Write(const std::string& name, std::string_view bytes) const {
  std::string file = File(name);
  WriteFile(file, bytes);
  return file;
}

}  // namespace tests_support
