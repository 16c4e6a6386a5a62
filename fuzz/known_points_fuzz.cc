// A known-point file (the previous point file) through load_known_points
// and the lookups of a translation.
#include <cstddef>
#include <cstdint>
#include <string>

#include "danvora/known_points.h"
#include "danvora/library_state.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchPath("known.txt");
  fuzz::WriteFile(path, data, size);
  danvora::reset_library_state();
  if (danvora::load_known_points(path) != danvora::KnownPointsLoad::kLoaded) {
    return 0;
  }
  const auto& entries = danvora::library_state().known_point_table.entries;
  if (entries.size() > danvora::kMaxKnownPoints) __builtin_trap();
  const int count = static_cast<int>(entries.size());
  for (int i = 0; i < count && i < 64; ++i) {
    danvora::Triple t;
    const std::string name = entries[i].name;
    danvora::find_known_point(name, &t, 0);
    danvora::find_known_point(name, &t, count / 2);
    danvora::find_known_point(name, &t, -(count - 1));
  }
  danvora::Triple t;
  danvora::find_known_point("", &t, count + 3);
  danvora::find_known_point("P1", &t, -(count + 3));
  danvora::clear_known_points();
  return 0;
}
