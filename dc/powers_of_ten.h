// Powers of ten for the number fields' integer arithmetic: every one a
// 64-bit integer holds, and as doubles every one a double holds exactly.
#ifndef DC_POWERS_OF_TEN_H_
#define DC_POWERS_OF_TEN_H_

#include <cfloat>
#include <cstddef>
#include <cstdint>

namespace dc {

// 10^0 to 10^19.
inline constexpr uint64_t kPowersOfTen[] = {
    1ull,
    10ull,
    100ull,
    1000ull,
    10000ull,
    100000ull,
    1000000ull,
    10000000ull,
    100000000ull,
    1000000000ull,
    10000000000ull,
    100000000000ull,
    1000000000000ull,
    10000000000000ull,
    100000000000000ull,
    1000000000000000ull,
    10000000000000000ull,
    100000000000000000ull,
    1000000000000000000ull,
    10000000000000000000ull,
};

// The fast decimal readers divide an exact integer by an exact power of ten
// and rely on that one division rounding once. Doubles worked out in a wider
// format (the x87 unit) would round twice; every build computes them in SSE2.
static_assert(FLT_EVAL_METHOD == 0, "doubles must be computed in double precision");

// 10^0 to 10^15, exact as doubles.
inline constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// `digits` / 10^`decimals` for at most 15 digits and decimals: both exact
// doubles, so the one division rounds as the C library's conversion does.
// Converted as a signed number: 32-bit builds have no SSE2 conversion of an
// unsigned 64-bit integer and would use the x87 unit for it.
inline double ExactDecimal(uint64_t digits, size_t decimals) {
  return static_cast<double>(static_cast<int64_t>(digits)) / kExactPowersOfTen[decimals];
}

}  // namespace dc

#endif  // DC_POWERS_OF_TEN_H_
