// Whole files as the tests read and write them.
#ifndef TESTS_SUPPORT_FILES_H_
#define TESTS_SUPPORT_FILES_H_

#include <string>
#include <string_view>
#include <vector>

namespace tests_support {

// The bytes of a file; "<missing PATH>", which no expected content equals,
// when it cannot be read.
std::string ReadFile(const std::string& path);
// Writes the whole file; a failure fails the test.
void WriteFile(const std::string& path, std::string_view bytes);
// The names of the files (not the folders) in `folder`, sorted.
std::vector<std::string> FilesIn(const std::string& folder);
// The path of `name` in the tests' data folder (tests/data).
std::string TestData(const std::string& name);
// "Suite.Test" of the running test, usable as a file name.
std::string TestName();

}  // namespace tests_support

#endif  // TESTS_SUPPORT_FILES_H_
