// ASCII lines through an upload definition (ConvertLineToRecord), and the
// point records the DC writer makes of them.
//
// Input: the first line is the definition - its first character 'C' for
// comma-separated (any other: fixed columns), its second the pad character,
// then FIELD values separated by '|'; the remaining lines are the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_util.h"
#include "pelixo/core/ascii_import.h"
#include "pelixo/core/dc_writer.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  const size_t end = text.find('\n');
  std::string_view layout = text.substr(0, end);
  const std::string_view body =
      end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

  pelixo::TFormatDefinition definition("Fuzz");
  definition.Upload = true;
  if (!layout.empty()) {
    definition.CommaSeparated = layout[0] == 'C';
    layout.remove_prefix(1);
  }
  if (!layout.empty()) {
    definition.PadCharacter = layout[0];
    layout.remove_prefix(1);
  }
  while (!layout.empty()) {
    const size_t bar = layout.find('|');
    std::optional<pelixo::TField> field = pelixo::ParseFieldValue(layout.substr(0, bar));
    if (field) definition.Fields.Add(std::make_unique<pelixo::TField>(*field));
    if (bar == std::string_view::npos) break;
    layout.remove_prefix(bar + 1);
  }

  const std::vector<std::string_view> lines = pelixo::SplitLines(body);
  for (const char separator : {'.', ','}) {
    pelixo::TUploadReader reader(definition, separator);
    for (size_t index = 0; index < lines.size(); ++index) {
      pelixo::UploadPoint point;
      const size_t before = index;
      if (reader.ConvertLineToRecord(lines, index, point)) {
        std::string record;
        pelixo::AppendPelixoPointRecord(
            record, {point.name, point.northing, point.easting, point.elevation, point.code});
        if (record.empty()) __builtin_trap();
      }
      // The reader never moves backwards; a NEWLINE may run one past the end.
      if (index < before || index > lines.size()) __builtin_trap();
    }
  }
  for (int decimals = -4; decimals <= 4; decimals += 4) {
    pelixo::FormatUploadNumber(body, decimals, ',');
  }
  return 0;
}
