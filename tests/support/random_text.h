// Random short texts of the characters the line rules turn on, for tests
// that hold a reader against the rules written out another way.
#ifndef TESTS_SUPPORT_RANDOM_TEXT_H_
#define TESTS_SUPPORT_RANDOM_TEXT_H_

#include <random>
#include <string>
#include <string_view>

namespace tests_support {

// Up to 23 characters of `pieces`, with a NUL now and then.
inline std::string RandomText(std::mt19937_64& random, std::string_view pieces) {
  std::string text;
  const int length = static_cast<int>(random() % 24);
  for (int i = 0; i < length; ++i) {
    text += random() % 50 == 0 ? '\0' : pieces[random() % pieces.size()];
  }
  return text;
}

}  // namespace tests_support

#endif  // TESTS_SUPPORT_RANDOM_TEXT_H_
