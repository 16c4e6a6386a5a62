#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"
#include "tests/platform/test_support.h"

#ifdef _WIN32
#include <shellapi.h>
#endif

namespace {

using namespace platform;
using V = std::vector<std::string>;

struct SplitCase {
  const char* line;
  V args;
};

// Written from the rules of the system's command-line splitting.
const std::vector<SplitCase>& SplitCases() {
  static const std::vector<SplitCase> cases = {
      {"prog", {"prog"}},
      {"prog a b", {"prog", "a", "b"}},
      {"  prog   a\t\tb  ", {"prog", "a", "b"}},
      {"DanvoraFrontend.exe -Format=SDL -QA", {"DanvoraFrontend.exe", "-Format=SDL", "-QA"}},
      {"\"C:\\Program Files\\Pelixo\\front.exe\" -UP",
       {"C:\\Program Files\\Pelixo\\front.exe", "-UP"}},
      // The program name keeps its backslashes, even before a quote.
      {"C:\\dir\\prog.exe \"a b\"", {"C:\\dir\\prog.exe", "a b"}},
      {"\"C:\\dir\\\" rest", {"C:\\dir\\", "rest"}},
      // A quoted program name ends at its quote, even without a blank.
      {"\"prog\"arg next", {"prog", "arg", "next"}},
      {"prog \"a b\" c", {"prog", "a b", "c"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"\"", {"prog", ""}},
      {"prog \"\" x", {"prog", "", "x"}},
      {"prog \\\"a", {"prog", "\"a"}},
      {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
      {"prog a\\\\\\\"b", {"prog", "a\\\"b"}},
      {"prog a\\b\\\\c", {"prog", "a\\b\\\\c"}},
      {"prog \"a\\\\\" b", {"prog", "a\\", "b"}},
      {"prog \"unclosed arg", {"prog", "unclosed arg"}},
      {"prog \"say \"\"hi\"\"\"", {"prog", "say \"hi\""}},
      {"prog \"\"\"\"\"\"", {"prog", "\"\""}},
      {"", {}},
      {"   ", {}},
  };
  return cases;
}

TEST(SplitCommandLine, FollowsTheSystemRules) {
  for (const SplitCase& c : SplitCases()) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.args);
  }
}

#ifdef _WIN32
// Under wine the same lines go through the system's own splitter.
TEST(SplitCommandLine, AgreesWithTheSystem) {
  for (const SplitCase& c : SplitCases()) {
    std::string line = c.line;
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    if (line[0] == ' ') continue;  // the system gives an empty program name
    SCOPED_TRACE(line);
    std::wstring wide(line.begin(), line.end());
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &count);
    ASSERT_NE(argv, nullptr);
    V system;
    for (int i = 0; i < count; ++i) {
      std::wstring arg = argv[i];
      system.emplace_back(arg.begin(), arg.end());
    }
    LocalFree(argv);
    EXPECT_EQ(SplitCommandLine(line), system);
  }
}
#endif

using platform_test::SelfCommand;

TEST(ProcessTest, StartsAProgramAndGivesItsExitCode) {
  tests_support::ScopedEnv child("PELIXO_PLATFORM_EXIT", "3");
  Expected<Process> process = Process::Start(SelfCommand("ProcessChild.Exits"));
  ASSERT_TRUE(process) << process.error().message();
  process->WaitForInputIdle(kWaitForever);
  EXPECT_EQ(process->WaitForExit(), 3);
  EXPECT_EQ(process->WaitForExit(), 3);  // asked again, same answer
}

TEST(ProcessTest, AMissingProgramIsAnErrorNamingTheLine) {
  tests_support::ScopedTempDir folder;
  std::string line = platform_test::Quoted(folder.File("no-such-program.exe")) + " -Format=SDL";
  Expected<Process> process = Process::Start(line);
  ASSERT_FALSE(process);
  EXPECT_NE(process.error().message().find(line), std::string::npos);
  EXPECT_FALSE(Process::Start(""));
}

#ifndef _WIN32
TEST(ProcessTest, ArgumentsArriveSplit) {
  Expected<Process> process = Process::Start("sh -c \"exit 5\"");
  ASSERT_TRUE(process) << process.error().message();
  EXPECT_EQ(process->WaitForExit(), 5);
}
#endif

// Run by the tests above in a second process.
TEST(ProcessChild, Exits) {
  const char* code = std::getenv("PELIXO_PLATFORM_EXIT");
  if (code == nullptr) GTEST_SKIP() << "only run as the child of a process test";
  std::fflush(stdout);
  std::_Exit(std::atoi(code));
}

}  // namespace
