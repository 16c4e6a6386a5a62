#include "danvora/known_points.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "danvora/alert.h"
#include "danvora/library_state.h"
#include "danvora/text_file.h"
#include "dc/fields.h"

namespace danvora {
namespace {

// The text from `pos` to the next comma (or the end); `pos` moves past it.
std::string_view NextField(std::string_view line, size_t* pos) {
  const size_t start = *pos;
  size_t comma = line.find(',', start);
  if (comma == std::string_view::npos) comma = line.size();
  *pos = comma + 1;
  return line.substr(start, comma - start);
}

// An empty number is one the exporting program left out (a point without a
// height): missing, not 0.
double KnownNumber(std::string_view field) {
  if (field.find_first_not_of(" \t\r") == std::string_view::npos) {
    return dc::kMissing;
  }
  return dc::ParseNumber(field);
}

}  // namespace

KnownPointsLoad load_known_points(const std::string& path) {
  KnownPointTable& table = library_state().known_point_table;
  table.entries.clear();
  const platform::Expected<platform::FileContent> content = platform::FileContent::Read(path);
  // No file yet is the normal case of a first export: no known points.
  if (!content) return KnownPointsLoad::kLoaded;
  text::LineReader<kWholeLibraryLines> reader(content->bytes());
  for (std::string_view line; reader.Next(&line);) {
    size_t commas = 0;
    for (char c : line) commas += c == ',';
    if (commas < 3) continue;
    if (table.entries.size() >= kMaxKnownPoints) {
      alert_limit_reached("kendte punkter", kMaxKnownPoints);
      break;
    }
    size_t pos = 0;
    const std::string_view name = NextField(line, &pos);
    const double first = KnownNumber(NextField(line, &pos));
    const double second = KnownNumber(NextField(line, &pos));
    const double third = KnownNumber(NextField(line, &pos));
    const double x = second == dc::kMissing ? second : std::fabs(second);
    try {
      table.entries.push_back(
          KnownPoint{std::string(name), Triple{x, first, third}});
    } catch (const std::bad_alloc&) {
      return KnownPointsLoad::kOutOfMemory;
    }
  }
  return KnownPointsLoad::kLoaded;
}

int find_known_point(std::string_view name, Triple* destination, int start) {
  const std::vector<KnownPoint>& entries =
      library_state().known_point_table.entries;
  const int count = static_cast<int>(entries.size());
  // Whether entry `index` has the name; its co-ordinates are then copied.
  auto take = [&](int index) {
    const KnownPoint& entry = entries[static_cast<size_t>(index)];
    if (entry.name != name) return false;
    if (destination) *destination = entry.coordinates;
    return true;
  };
  if (start >= 0) {
    for (int i = start; i < count; ++i) {
      if (take(i)) return i;
    }
    // A name that stands before the lookup position is still a known point.
    for (int i = 0; i < start && i < count; ++i) {
      if (take(i)) return start;
    }
    return start;
  }
  int from = start == INT32_MIN ? count - 1 : -start;
  if (from > count - 1) from = count - 1;
  for (int i = from; i >= 0; --i) {
    if (take(i)) return i;
  }
  return -1;
}

void clear_known_points() {
  library_state().known_point_table.entries.clear();
  library_state().known_point_table.entries.shrink_to_fit();
}

}  // namespace danvora
