// The known points: names and co-ordinates read from the previous point
// file, from which translated points and stations take their co-ordinates.
#ifndef DANVORA_KNOWN_POINTS_H_
#define DANVORA_KNOWN_POINTS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "danvora/job_state.h"

namespace danvora {

inline constexpr size_t kMaxKnownPoints = 5000;

struct KnownPoint {
  std::string name;  // compared whole
  Triple coordinates;
};

struct KnownPointTable {
  std::vector<KnownPoint> entries;
};

// Fills `known_point_table` from a comma-separated point file, one point a
// line: name, then three numbers (first, second, third) stored as
// (|second|, first, third). A file that does not exist or cannot be read
// gives an empty table; lines with fewer than three commas are skipped;
// past kMaxKnownPoints entries the rest is ignored after one message.
enum class KnownPointsLoad {
  kLoaded,
  kOutOfMemory,  // an entry could not be allocated
};
KnownPointsLoad load_known_points(const std::string& path);

// Searches `name` (exact, case-sensitive). start >= 0: forward from `start`;
// a hit copies its co-ordinates and returns its index. When nothing is found
// from `start` on, the entries before `start` are searched too; such a hit
// copies the co-ordinates but returns `start`, so that the lookup position
// stays where it was. start < 0: backward from -start down to 0, returning
// the hit's index or -1. A name not found leaves `destination` unchanged.
int find_known_point(std::string_view name, Triple* destination, int start);

// Empties `known_point_table`.
void clear_known_points();

}  // namespace danvora

#endif  // DANVORA_KNOWN_POINTS_H_
