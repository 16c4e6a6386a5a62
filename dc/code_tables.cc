#include "dc/code_tables.h"

#include <array>

namespace dc {
namespace {

template <size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& table,
                        int index) {
  if (index < 0 || static_cast<size_t>(index) >= N) return {};
  return table[static_cast<size_t>(index)];
}

constexpr std::array<std::string_view, 11> kPointClasses = {
    "Offset",          "Normal",          "Control",
    "AsBuilt",         "Check",           "Reference",
    "Slettet",         "Slettet Control", "Slettet AsBuilt",
    "Slettet Check",   "Slettet Reference",
};

constexpr std::array<std::string_view, 11> kMethods = {
    "",          "Indtastet", "Single pos",   "RTK float",
    "RTK fixed", "Kopieret",  "RTCM kode",    "Inerti",
    "Egnos/WAAS", "GPSnet float", "GPSnet fixed",
};

constexpr std::array<std::string_view, 8> kInitialisationResults = {
    "",
    "opn\xE5" "et.",  // opnået.
    "tabt.",
    "mislykket.",
    "d\xE5rlig.",     // dårlig.
    "h\xF8j RMS.",    // høj RMS.
    "lav RMS.",
    "brugerstop.",
};

constexpr std::array<std::string_view, 5> kInitialisationMethods = {
    "", "Initialiseringsplade", "Kendt punkt", "Nyt punkt", "On the fly",
};

}  // namespace

std::string_view PointClassName(int point_class) {
  return Lookup(kPointClasses, point_class);
}

std::string_view MethodName(int method) { return Lookup(kMethods, method); }

std::string_view InitialisationResultName(int result) {
  return Lookup(kInitialisationResults, result);
}

std::string_view InitialisationMethodName(int method) {
  return Lookup(kInitialisationMethods, method);
}

}  // namespace dc
