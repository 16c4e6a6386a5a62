// koordles: the send direction of the library. A coordinate file in one of
// the Danish point formats becomes a comma-separated point file, one point a
// line, which Pelixo then reads through a format definition.
#ifndef DANVORA_KOORDLES_H_
#define DANVORA_KOORDLES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "danvora/format_numbers.h"

namespace danvora {

// Whether koordles can read `format`: KX77 to Komma.
constexpr bool IsReadableFormat(ExportFormat format) {
  return FormatNumber(format) >= FormatNumber(ExportFormat::kKx77) &&
         FormatNumber(format) <= FormatNumber(ExportFormat::kKomma);
}

// Converts `in_path`, read as format `format`, into `out_path`; a negative
// `sign` negates the second number of every point. Returns kTranslated
// after a conversion and kRefused when the format cannot be read or a file
// cannot be read or written; the user has then been told why and `out_path`
// is untouched.
int16_t Koordles(const std::string& in_path, const std::string& out_path,
                 ExportFormat format, int sign);

// The comma-separated lines for the bytes of a whole coordinate file of a
// readable format, each ended by CR LF.
std::string ConvertCoordinateText(std::string_view content, ExportFormat format,
                                  int sign);

}  // namespace danvora

#endif  // DANVORA_KOORDLES_H_
