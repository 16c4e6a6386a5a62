#include "danvora/line_table.h"

#include "danvora/alert.h"
#include "danvora/format.h"
#include "danvora/library_state.h"
#include "danvora/text_file.h"
#include "dc/record_code.h"

namespace danvora {
namespace {

// Many lines to an allocation.
constexpr size_t kTextBlockSize = size_t{1} << 20;

}  // namespace

void LineTable::Clear() {
  lines.clear();
  lines.shrink_to_fit();
  read_ahead_end = 0;
  last_pass_index = -1;
  next_axis_line.clear();
  next_axis_line.shrink_to_fit();
  blocks.clear();
  blocks.shrink_to_fit();
  codes.clear();
  codes.shrink_to_fit();
}

bool load_line_table(const std::string& path) {
  LineTable& table = library_state().line_table;
  table.Clear();
  auto reader = TextFileReader::Open(path);
  if (!reader) return false;
  char* free = nullptr;
  size_t room = 0;
  size_t length = 0;
  while (true) {
    if (room < kStoredLineLength) {
      // Not zeroed: only what the lines fill is ever touched.
      table.blocks.emplace_back(new char[kTextBlockSize]);
      free = table.blocks.back().get();
      room = kTextBlockSize;
    }
    if (!reader->ReadLineTo(free, kStoredLineLength, &length)) break;
    table.lines.emplace_back(free, length);
    table.codes.push_back(dc::RecordCode(table.lines.back()));
    free += length;
    room -= length;
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
