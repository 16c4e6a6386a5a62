// Helpers of the Danvora library's tests: DC lines built by column, files in
// a private folder, a fixed clock.
#ifndef TESTS_DANVORA_TEST_UTIL_H_
#define TESTS_DANVORA_TEST_UTIL_H_

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/locale.h"
#include "tests/support/files.h"

namespace danvora::testing {

// A DC line: `code_flags` ("69KI") and texts placed at their columns.
std::string Rec(const std::string& code_flags,
                std::initializer_list<std::pair<size_t, std::string>> fields);
// A text right-aligned (numbers) or left-aligned (texts) in `width`.
std::string Num(const std::string& text, size_t width = 16);
std::string Txt(const std::string& text, size_t width = 16);

// A fresh empty folder for one test, with a trailing separator.
std::string TestFolder(const std::string& name);
// The same, named `prefix` and the running test's name.
std::string FolderOfTest(const std::string& prefix);
using tests_support::ReadFile;
using tests_support::WriteFile;
bool Exists(const std::string& path);

// Puts the library into its state at loading, with the fixed clock
// 2026-12-08 07:05:09 and message boxes printing on stderr.
void FreshLibrary();
platform::LocalTime FixedClock();

// The bytes of a job of `lines`, each ending with CR LF.
std::string JobBytes(const std::vector<std::string>& lines);
// Loads `lines` as the job.
void LoadJob(const std::vector<std::string>& lines);

// Records 64 and 65 of UTM zone 32 on the GRS80 ellipsoid.
extern const std::string kUtm32;
extern const std::string kGrs80;

}  // namespace danvora::testing

#endif  // TESTS_DANVORA_TEST_UTIL_H_
