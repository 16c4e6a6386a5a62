// The stored lines of the DC job being translated.
#ifndef DANVORA_LINE_TABLE_H_
#define DANVORA_LINE_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "danvora/text_file.h"

namespace danvora {

inline constexpr size_t kMaxLines = 500000;
// Every field of every record lies within the first 160 columns; the rest
// of a longer physical line is read and dropped (text::kLibraryLines).
inline constexpr size_t kStoredLineLength = text::kLibraryLines.keep;

struct LineTable {
  // The stored lines, each a view into `text`, the whole file as read.
  std::vector<std::string_view> lines;
  std::optional<platform::FileContent> text;
  // The record code of each line (dc::RecordCode), read once at loading:
  // every pass asks for it, and some more than once a line.
  std::vector<int32_t> codes;

  // Read-ahead bookkeeping of the pass in progress (see read_record):
  // lines below `read_ahead_end` were decoded by a read-ahead already.
  size_t read_ahead_end = 0;
  // The last index a pass decoded; a lower one starts a new pass.
  int64_t last_pass_index = -1;
  // The follow-up records the last point of the pass took in (lines from
  // `taken_in_begin` to before `taken_in_end`): their own turns need no
  // second decoding.
  size_t taken_in_begin = 0;
  size_t taken_in_end = 0;
  // For each line, the next line holding a record 65 whose semi-major axis
  // is not negative (lines.size() when none); built on first use.
  std::vector<uint32_t> next_axis_line;

  size_t size() const { return lines.size(); }
  int code(size_t index) const { return codes[index]; }
  void Clear();
};

// Empties `line_table` and fills it from the DC file at `path`, read in
// text mode, one stored line per physical line. At kMaxLines lines the
// user is told "Max. antal linier %d nået!" and reading stops. False when
// the file cannot be opened.
bool load_line_table(const std::string& path);

// Empties `line_table`, freeing every line.
void clear_line_table();

}  // namespace danvora

#endif  // DANVORA_LINE_TABLE_H_
