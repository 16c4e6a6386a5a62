// How Pelixo's receive side reads numbers out of DC fields and points-file
// items: "." as the decimal point, the whole text a number.
#ifndef PELIXO_CORE_DC_READER_NUMBERS_H_
#define PELIXO_CORE_DC_READER_NUMBERS_H_

#include <cstdint>
#include <string_view>

namespace pelixo {

// The missing values of the receive side.
inline constexpr double kNullReal = 1e308;
inline constexpr int32_t kNullInteger = -999999;

// An optionally signed decimal 32-bit integer over the whole of `text`.
bool ParseInt32(std::string_view text, int32_t* value);

}  // namespace pelixo

#endif  // PELIXO_CORE_DC_READER_NUMBERS_H_
