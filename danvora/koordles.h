// koordles: the send direction of the library. A coordinate file in one of
// the Danish point formats becomes a comma-separated point file, one point a
// line, which Pelixo then reads through a format definition.
#ifndef DANVORA_KOORDLES_H_
#define DANVORA_KOORDLES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace danvora {

// Formats koordles can read: KX77 (0) to Komma (7).
inline constexpr int kFirstReadableFormat = 0;
inline constexpr int kLastReadableFormat = 7;

// Converts `in_file`, read as format `format`, into `out_file`; a negative
// `sign` negates the second number of every point. Returns 0 after a
// conversion and 255 when the format cannot be read or a file cannot be read
// or written; the user has then been told why and `out_file` is untouched.
// Null paths count as empty.
int16_t Koordles(const char* in_file, const char* out_file, int format,
                 int sign);

// The comma-separated lines for the bytes of a whole coordinate file of a
// readable format, each ended by CR LF.
std::string ConvertCoordinateText(std::string_view content, int format,
                                  int sign);

}  // namespace danvora

#endif  // DANVORA_KOORDLES_H_
