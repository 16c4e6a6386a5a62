#include "danvora/job_state.h"

#include <array>

namespace danvora {
namespace {

// Windows-1252: \xE6 æ, \xF8 ø, \xE5 å.
constexpr std::array<std::string_view, kSystemNameCount> kSystemNames = {
    "K\xF8" "benhavns Kommune",
    "System 34 Sj\xE6lland",
    "System 34 Jylland/Fyn",
    "System 45 Bornholm",
    "System Storeb\xE6lt",
    "Utm zone 32 (Ed50)",
    "Utm zone 33 (Ed50)",
    "Bredde, L\xE6ngde, Kote (Ed50)",
    "Bredde, L\xE6ngde, Eh\xF8jde (Ed50)",
    "ECEF (Ed50)",
    "ECEF (Euref89)",
    "Bredde, L\xE6ngde, Eh\xF8jde (Euref89)",
    "Bredde, L\xE6ngde, Kote (Euref89)",
    "Utm zone 32 (Euref89)",
    "Utm zone 33 (Euref89)",
    "KP2000 Sj\xE6lland",
    "KP2000 Jylland/Fyn",
    "KP2000 Bornholm",
};

}  // namespace

std::string_view coord_system_name(int type) {
  if (type < 0 || type >= kSystemNameCount) return {};
  return kSystemNames[static_cast<size_t>(type)];
}

}  // namespace danvora
