#include "tests/danvora/test_util.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "danvora/library_state.h"
#include "danvora/line_table.h"

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

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
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
#if defined(_WIN32)
  _putenv("PELIXO_BOXES=stderr");
#else
  setenv("PELIXO_BOXES", "stderr", 1);
#endif
  reset_library_state();
  library_state().export_state.clock = &FixedClock;
}

void LoadJob(const std::vector<std::string>& lines) {
  const ::testing::TestInfo* test =
      ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string path = TestFolder(std::string("job_") +
                                      test->test_suite_name() + "_" +
                                      test->name()) +
                           "job.dc";
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  WriteFile(path, bytes);
  ASSERT_TRUE(load_line_table(path));
}

}  // namespace danvora::testing
