// The DC record decoding of dc/: every decoder over every line of the input
// at the columns the records use, and the coordinate-system copy of a send
// reading the input as the options' coordinate-system file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dc/fields.h"
#include "dc/record_code.h"
#include "dc/units.h"
#include "fuzz/fuzz_util.h"
#include "pelixo/core/dc_writer.h"
#include "pelixo/core/pelixo_records.h"
#include "pelixo/core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  for (std::string_view line : pelixo::SplitLines(text)) {
    dc::RecordCode(line);
    dc::RecordFlags(line);
    dc::Unescape(line);
    size_t used = 0;
    dc::ParseNumber(line, &used);
    if (used > line.size()) __builtin_trap();
    dc::ParseInteger(line);
    const dc::Units units{1 + static_cast<int>(line.size() % 3),
                          1 + static_cast<int>(line.size() % 3), 1, 2,
                          static_cast<int>(line.size() % 3)};
    const size_t last = std::min<size_t>(line.size(), 200) + 17;
    for (size_t column = 0; column <= last; ++column) {
      dc::FieldSlice(line, column, dc::kNumberWidth);
      dc::DecodeText(line, column, dc::kNumberWidth);
      dc::DecodeNumber(line, column);
      dc::DecodeInteger(line, column, 5);
      dc::DecodeDigit(line, column);
      dc::DecodeDistance(line, column, units.distance);
      dc::DecodeAngle(line, column, units.angle);
      dc::DecodeTriple(line, column, units);
    }
    for (int version : {750, 770, 1000, 1070}) {
      pelixo::IsPelixoCoordinateSystemRecord(line, version);
    }
    pelixo::PadLeftAligned(line, static_cast<long long>(line.size() % 40) - 5, '*');
    pelixo::PadRightAligned(line, static_cast<long long>(line.size() % 40) - 5);
  }

  const std::string path = fuzz::ScratchPath("coordsys.dc");
  fuzz::WriteFile(path, data, size);
  for (int version : {750, 1070}) {
    pelixo::LineList job;
    pelixo::DCJobSettings settings;
    settings.coordinate_system_file = path;
    (void)pelixo::CopyCoordinateSystemRecords(job, version, settings, fuzz::ScratchDir() + "/");
  }
  return 0;
}
