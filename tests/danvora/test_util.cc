#include "tests/danvora/test_util.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "danvora/library_state.h"
#include "danvora/line_table.h"
#include "tests/support/scoped_env.h"

namespace danvora::testing {

std::string Rec(const std::string& code_flags,
                std::initializer_list<std::pair<size_t, std::string>> fields) {
  std::string line = code_flags;
  for (const auto& [column, text] : fields) {
    if (line.size() < column + text.size()) {
      line.resize(column + text.size(), ' ');
    }
    line.replace(column, text.size(), text);
  }
  return line;
}

std::string Num(const std::string& text, size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ') +
         text;
}

std::string Txt(const std::string& text, size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string TestFolder(const std::string& name) {
  const std::filesystem::path dir =
      std::filesystem::path(PELIXO_BIN_DIR) / "danvora_test_files" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

std::string FolderOfTest(const std::string& prefix) {
  return TestFolder(prefix +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

platform::LocalTime FixedClock() { return {2026, 12, 8, 7, 5, 9}; }

void FreshLibrary() {
  tests_support::SetEnvironment("PELIXO_BOXES", "stderr");
  reset_library_state();
  library_state().export_state.clock = &FixedClock;
}

std::string JobBytes(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

void LoadJob(const std::vector<std::string>& lines) {
  const std::string path = TestFolder("job_" + tests_support::TestName()) + "job.dc";
  WriteFile(path, JobBytes(lines));
  ASSERT_TRUE(load_line_table(path));
}

const std::string kUtm32 = Rec("64NM", {{4, "3"}, {21, Num("9")}, {101, Num("0.9996")}});
const std::string kGrs80 = Rec("65NM", {{4, Num("6378137")}});

}  // namespace danvora::testing
