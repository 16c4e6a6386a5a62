// Powers of ten for the number fields' integer arithmetic: every one a
// 64-bit integer holds, and as doubles every one a double holds exactly.
#ifndef DC_POWERS_OF_TEN_H_
#define DC_POWERS_OF_TEN_H_

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

// 10^0 to 10^15, exact as doubles.
inline constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace dc

#endif  // DC_POWERS_OF_TEN_H_
