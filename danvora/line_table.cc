#include "danvora/line_table.h"

#include "danvora/alert.h"
#include "danvora/format.h"
#include "danvora/library_state.h"
#include "danvora/text_file.h"

namespace danvora {

void LineTable::Clear() {
  lines.clear();
  lines.shrink_to_fit();
  read_ahead_end = 0;
  last_pass_index = -1;
  next_axis_line.clear();
  next_axis_line.shrink_to_fit();
}

bool load_line_table(const std::string& path) {
  LineTable& table = library_state().line_table;
  table.Clear();
  auto reader = TextFileReader::Open(path);
  if (!reader) return false;
  std::string line;
  while (reader->ReadLine(&line, kStoredLineLength)) {
    table.lines.push_back(line);
    if (table.lines.size() >= kMaxLines) {
      alert_user(Format("Max. antal linier %d n\xE5" "et!",
                        static_cast<int>(kMaxLines)));
      break;
    }
  }
  return true;
}

void clear_line_table() { library_state().line_table.Clear(); }

}  // namespace danvora
