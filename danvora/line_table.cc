#include "danvora/line_table.h"

#include <algorithm>
#include <string_view>

#include "danvora/alert.h"
#include "platform/memory.h"
#include "danvora/library_state.h"
#include "danvora/text_file.h"
#include "dc/record_code.h"

namespace danvora {

void LineTable::Clear() {
  lines.clear();
  lines.shrink_to_fit();
  read_ahead_end = 0;
  last_pass_index = -1;
  taken_in_begin = 0;
  taken_in_end = 0;
  next_axis_line.clear();
  next_axis_line.shrink_to_fit();
  text.reset();
  codes.clear();
  codes.shrink_to_fit();
}

bool load_line_table(const std::string& path) {
  LineTable& table = library_state().line_table;
  table.Clear();
  table.text = TextFileContent::Read(path);
  if (!table.text) return false;
  std::string_view rest = table.text->text();
  // Room for every line the text can hold, up to the limit: the lists are
  // filled without being moved, and pages never touched cost nothing.
  const size_t room = std::min(kMaxLines, rest.size() + 1);
  platform::ReserveLarge(table.lines, room);
  platform::ReserveLarge(table.codes, room);
  text::LineReader<text::kLibraryLines> reader(rest);
  for (std::string_view line; reader.Next(&line);) {
    table.lines.push_back(line);
    table.codes.push_back(dc::RecordCode(line));
    if (table.lines.size() >= kMaxLines) {
      alert_limit_reached("linier", kMaxLines);
      break;
    }
  }
  return true;
}

void clear_line_table() { library_state().line_table.Clear(); }

}  // namespace danvora
