// A points file (".tic") through TTICPointhandler.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_util.h"
#include "pelixo/core/tic_points.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelixo::TTICPointhandler points;
  points.LoadFromText(fuzz::AsText(data, size));
  for (const pelixo::PointRecord& point : points.Points()) {
    std::string code;
    double north = 0, east = 0, height = 0;
    if (!points.FindPoint(point.Name, &code, &north, &east, &height)) {
      __builtin_trap();  // every loaded name is found again
    }
  }
  // The file path as the receive driver takes it.
  const std::string path = fuzz::ScratchPath("points.tic");
  fuzz::WriteFile(path, data, size);
  pelixo::TTICPointhandler from_file;
  (void)from_file.LoadFromFile(path);
  if (from_file.Points().size() != points.Points().size()) __builtin_trap();
  return 0;
}
