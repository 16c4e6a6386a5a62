// The values that stand for missing numbers on the receive side.
#ifndef PELIXO_CORE_DC_READER_NUMBERS_H_
#define PELIXO_CORE_DC_READER_NUMBERS_H_

#include <cstdint>

namespace pelixo {

// The missing values of the receive side.
inline constexpr double kNullReal = 1e308;
inline constexpr int32_t kNullInteger = -999999;

}  // namespace pelixo

#endif  // PELIXO_CORE_DC_READER_NUMBERS_H_
