// Pelixo's DC reading for the ASCII export: a received DC file and its
// points file through every download definition of the receive tests.
//
// Input: the DC file, then optionally a form feed (0x0C) and the points file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_util.h"
#include "pelixo/core/ascii_export.h"
#include "pelixo/core/dc_reader.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/tic_points.h"

namespace {

const pelixo::TFormatDefinitions& Definitions() {
  static const auto* definitions = [] {
    auto* d = new pelixo::TFormatDefinitions;
    if (!d->Load(PELIXO_SOURCE_DIR "/tests/data/receive/Formats.ini") ||
        d->Count() == 0) {
      std::abort();
    }
    return d;
  }();
  return *definitions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  const size_t split = text.find('\f');
  const std::string dc(text.substr(0, split));
  pelixo::TTICPointhandler points;
  if (split != std::string_view::npos) points.LoadFromText(text.substr(split + 1));

  pelixo::DCPointReader reader(dc, &points);
  pelixo::DCPointValues point;
  std::vector<std::string_view> attributes;
  while (reader.Next(&point, &attributes)) {
    for (std::string_view attribute : attributes) {
      pelixo::AttributeName(attribute);
      pelixo::AttributeValue(attribute);
    }
  }

  const pelixo::TFormatDefinitions& definitions = Definitions();
  for (int d = 0; d < definitions.Count(); ++d) {
    int32_t counter = 0;
    pelixo::ExportContext context;
    context.decimal_separator = d % 2 == 0 ? '.' : ',';
    context.counter = &counter;
    (void)pelixo::BuildExportLines(definitions[d], dc,
                             split != std::string_view::npos ? &points : nullptr,
                             context);
  }
  return 0;
}
