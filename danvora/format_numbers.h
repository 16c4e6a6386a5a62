// The Danish point-file formats by the numbers the two entries take: one
// list for the translation and the reading back of coordinate files.
#ifndef DANVORA_FORMAT_NUMBERS_H_
#define DANVORA_FORMAT_NUMBERS_H_

#include <array>
#include <cstddef>
#include <string_view>

namespace danvora {

enum class ExportFormat : int {
  kNone = -1,  // a translation that writes no point file
  kKx77 = 0,
  kSdl = 1,
  kLandcad = 2,
  kGeocad = 3,
  kAlt = 4,
  kArgus = 5,
  kCowi = 6,
  kKomma = 7,
  kSvk = 8,
  kDas = 9,
  kDdh = 10,
  // Not a file format: the point listing of the field report, which shares
  // the KX77 columns.
  kReportListing = 200,
};

// The formats kKx77 to kDdh.
inline constexpr int kFormatCount = 11;

// The format of an entry's number; any number converts, and what it names
// is checked where it is used.
constexpr ExportFormat ToExportFormat(int number) {
  return static_cast<ExportFormat>(number);
}

constexpr int FormatNumber(ExportFormat format) {
  return static_cast<int>(format);
}

// "KX77" ... "DDH"; empty for numbers without a name.
constexpr std::string_view export_format_name(ExportFormat format) {
  constexpr std::array<std::string_view, kFormatCount> kNames = {
      "KX77", "SDL", "LANDCAD", "GEOCAD", "ALT", "ARGUS",
      "COWI", "Komma", "SVK", "DAS", "DDH",
  };
  const int number = FormatNumber(format);
  if (number < 0 || number >= kFormatCount) return {};
  return kNames[static_cast<size_t>(number)];
}

}  // namespace danvora

#endif  // DANVORA_FORMAT_NUMBERS_H_
