// Reading the points of an ASCII coordinate file through an upload
// definition: each line (with the lines a NEWLINE field moves on to) gives
// one point of five texts - name, northing, easting, elevation and code.
// Numbers are only re-written, never converted between units.
#ifndef PELIXO_CORE_ASCII_IMPORT_H_
#define PELIXO_CORE_ASCII_IMPORT_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pelixo/core/format_definitions.h"

namespace pelixo {

// Only these ten name parts exist.
inline constexpr int kNameParts = 10;

struct UploadPoint {
  std::string name;
  std::string northing;
  std::string easting;
  std::string elevation;
  std::string code;
};

// Re-writes one co-ordinate: the locale's `decimal_separator` becomes ".",
// a negative `decimals` divides by 10 that many times, and the number is
// written with |decimals| digits ("%.*f"). A text that is not wholly a
// number comes back unchanged.
std::string FormatUploadNumber(std::string_view text, int decimals,
                               char decimal_separator);
// The same, appended to `out`; a plain decimal is re-written without the
// round trip through a double.
void AppendUploadNumber(std::string& out, std::string_view text, int decimals,
                        char decimal_separator);

// Removes `pad` characters one at a time from the start (or the end) of
// `text` until another character is met.
std::string_view StripPadCharacters(std::string_view text, char pad,
                                    bool from_start);

// Which name part a NAME... token fills: NAME, NAME0 to NAME9; any other
// suffix (NAMEX, NAME10, NAME-1) takes part 0.
int NamePartOfToken(std::string_view token);

// An upload definition prepared once for the reading of a whole file.
class TUploadReader {
 public:
  TUploadReader(const TFormatDefinition& definition, char decimal_separator);

  // Reads the point that starts at `lines[index]`. On return `index` is the
  // last line read (a NEWLINE field moves it on). False when the line gives
  // no point: it is blank, fails a TEXT or SPACE check, or a NEWLINE runs
  // past the last line.
  bool ConvertLineToRecord(const std::vector<std::string_view>& lines,
                           size_t& index, UploadPoint& point) const;

  // True when no NEWLINE field moves a point on to further lines: then
  // every line is read on its own.
  bool ReadsOneLinePerPoint() const { return !moves_to_next_line_; }

 private:
  enum class Kind {
    kText, kSpace, kNewline, kName, kNorthing, kEasting, kElevation, kCode,
    kSkip,
  };
  struct Step {
    Kind kind = Kind::kSkip;
    int name_part = 0;
    bool name_prefix = false;  // parts 2 to 9 take the literal as a prefix
    size_t width = 0;
    int decimals = 0;
    bool strip_pad = false;
    bool strip_from_start = false;
    std::string literal;
  };

  // The kind of every token but NAME...
  static Kind KindOfToken(std::string_view token);
  std::string_view CutValue(const Step& step, std::string_view& rest) const;

  bool comma_separated_;
  char pad_character_;
  char decimal_separator_;
  std::vector<Step> steps_;
  bool moves_to_next_line_ = false;
};

// Of the points of a job.
struct SendCounts {
  size_t points_written = 0;
  size_t lines_skipped = 0;  // lines between header and footer giving no point
  size_t values_cut = 0;     // names, co-ordinates, codes, job name over 16
};

// The point records (69) of the lines between the definition's header and
// footer lines, each with its CR LF, handed to `take` a block at a time in
// the order of the lines; `counts` grows by the points and lines of the
// file. Only a few blocks are held at once, so a large file is written as
// it is converted. Where every point is one line, a large file is
// converted by two threads in turn.
using PointRecordsTaker = std::function<void(std::string_view records)>;
void ConvertPointRecordsOfFile(const TFormatDefinition& definition,
                               const std::vector<std::string_view>& lines,
                               char decimal_separator, SendCounts& counts,
                               const PointRecordsTaker& take);

}  // namespace pelixo

#endif  // PELIXO_CORE_ASCII_IMPORT_H_
