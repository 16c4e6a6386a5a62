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

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

platform::LocalTime FixedClock() {
  platform::LocalTime t;
  t.year = 2026;
  t.month = 12;
  t.day = 8;
  t.hour = 7;
  t.minute = 5;
  t.second = 9;
  return t;
}

void FreshLibrary() {
  tests_support::SetEnvironment("PELIXO_BOXES", "stderr");
  reset_library_state();
  library_state().export_state.clock = &FixedClock;
}

void LoadJob(const std::vector<std::string>& lines) {
  const std::string path = TestFolder("job_" + tests_support::TestName()) + "job.dc";
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  WriteFile(path, bytes);
  ASSERT_TRUE(load_line_table(path));
}

}  // namespace danvora::testing
