// A GoogleTest check that two doubles have the same bits, so that -0 and 0
// (and the NaNs) differ.
#ifndef TESTS_SUPPORT_SAME_DOUBLE_H_
#define TESTS_SUPPORT_SAME_DOUBLE_H_

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace pelixo::testing {

inline ::testing::AssertionResult SameDouble(double expected, double actual) {
  uint64_t a, b;
  std::memcpy(&a, &expected, sizeof a);
  std::memcpy(&b, &actual, sizeof b);
  if (a == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

}  // namespace pelixo::testing

#endif  // TESTS_SUPPORT_SAME_DOUBLE_H_
