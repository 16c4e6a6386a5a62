#include "pelixo/core/ascii_import.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <system_error>
#include <thread>

#include "pelixo/core/pelixo_records.h"
#include "pelixo/core/text.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace pelixo {
namespace {

// Beyond this many decimals a double has no further non-zero digits; the
// record shows 16 characters anyway.
constexpr long long kMaxWrittenDecimals = 1100;

}  // namespace

void AppendUploadNumber(std::string& out, std::string_view text, int decimals,
                        char decimal_separator) {
  if (AppendFixedDecimalsOfText(out, text, decimals, decimal_separator)) return;
  out += FormatUploadNumber(text, decimals, decimal_separator);
}

std::string FormatUploadNumber(std::string_view text, int decimals,
                               char decimal_separator) {
  std::string replaced;
  std::string_view normal = text;
  if (decimal_separator != '.' &&
      text.find(decimal_separator) != std::string_view::npos) {
    replaced = text;
    for (char& c : replaced) {
      if (c == decimal_separator) c = '.';
    }
    normal = replaced;
  }
  double value = 0;
  if (!ParseReal(normal, &value, " ")) return std::string(text);
  long long places = decimals < 0 ? -static_cast<long long>(decimals)
                                  : static_cast<long long>(decimals);
  if (decimals < 0) {
    for (long long i = 0; i < places && value != 0; ++i) value /= 10;
  }
  int precision = static_cast<int>(
      places > kMaxWrittenDecimals ? kMaxWrittenDecimals : places);
  std::string result;
  text::AppendFixed(result, value, precision);
  return result;
}

std::string_view StripPadCharacters(std::string_view text, char pad,
                                    bool from_start) {
  if (from_start) {
    while (!text.empty() && text.front() == pad) text.remove_prefix(1);
  } else {
    while (!text.empty() && text.back() == pad) text.remove_suffix(1);
  }
  return text;
}

int NamePartOfToken(std::string_view token) {
  if (token.size() == 4) return 0;
  int part = 0;
  if (!ParseInteger(text::Trim(token.substr(4, 2)), &part)) return 0;
  if (part < 0 || part >= kNameParts) return 0;
  return part;
}

TUploadReader::Kind TUploadReader::KindOfToken(std::string_view token) {
  static constexpr struct {
    std::string_view token;
    Kind kind;
  } kKinds[] = {{"TEXT", Kind::kText},         {"SPACE", Kind::kSpace},
                {"NEWLINE", Kind::kNewline},   {"NORTHING", Kind::kNorthing},
                {"EASTING", Kind::kEasting},   {"ELEVATION", Kind::kElevation},
                {"CODE", Kind::kCode}};
  for (const auto& known : kKinds) {
    if (text::EqualsIgnoreCase(token, known.token)) return known.kind;
  }
  return Kind::kSkip;  // SKIP and every token the import does not know
}

TUploadReader::TUploadReader(const TFormatDefinition& definition,
                             char decimal_separator)
    : comma_separated_(definition.CommaSeparated),
      pad_character_(definition.PadCharacter),
      decimal_separator_(decimal_separator) {
  const TFieldList& fields = definition.Fields;
  steps_.reserve(static_cast<size_t>(fields.Count()));
  for (int i = 0; i < fields.Count(); ++i) {
    const TField& field = fields[i];
    const std::string& token = field.Token;
    Step step;
    step.width = PaddingWidth(field.Width);
    step.decimals = field.Decimals;
    step.literal = field.Literal;
    step.strip_pad = pad_character_ != ' ' && !field.Numeric;
    step.strip_from_start = field.RightAligned;
    if (text::StartsWithIgnoreCase(token, "NAME")) {
      step.kind = Kind::kName;
      step.name_part = NamePartOfToken(token);
      step.name_prefix = step.name_part >= 2;
    } else {
      step.kind = KindOfToken(token);
      if (step.kind == Kind::kNewline) moves_to_next_line_ = true;
    }
    steps_.push_back(std::move(step));
  }
}

std::string_view TUploadReader::CutValue(const Step& step,
                                         std::string_view& rest) const {
  if (comma_separated_) {
    // Values are short: a plain loop beats a library search here.
    size_t comma = 0;
    while (comma < rest.size() && rest[comma] != ',') ++comma;
    if (comma == rest.size()) {
      std::string_view value = rest;  // the last value keeps its blanks
      rest = std::string_view();
      return value;
    }
    std::string_view value = text::Trim(rest.substr(0, comma));
    rest.remove_prefix(comma + 1);
    return value;
  }
  if (step.width == 0) {
    std::string_view value = text::Trim(rest);
    rest = std::string_view();
    return value;
  }
  size_t taken = step.width < rest.size() ? step.width : rest.size();
  std::string_view value = text::Trim(rest.substr(0, taken));
  rest.remove_prefix(taken);
  if (step.strip_pad) {
    value = StripPadCharacters(value, pad_character_, step.strip_from_start);
  }
  return value;
}

bool TUploadReader::ConvertLineToRecord(
    const std::vector<std::string_view>& lines, size_t& index,
    UploadPoint& point) const {
  if (index >= lines.size()) return false;
  std::string_view rest = lines[index];
  // A blank line is no point, whatever the definition.
  if (text::Trim(rest).empty()) return false;

  // Views into the line and the definition: the name is put together once
  // the whole line is read.
  // Plain pieces left uninitialised: only the parts that `parts_set` names
  // are read.
  struct NamePart {
    const char* prefix;
    size_t prefix_size;
    const char* value;
    size_t value_size;
  };
  NamePart name_parts[kNameParts];
  unsigned parts_set = 0;  // bit n: part n was read
  point.northing.clear();
  point.easting.clear();
  point.elevation.clear();
  point.code.clear();

  for (const Step& step : steps_) {
    switch (step.kind) {
      case Kind::kText: {
        size_t n = step.literal.size();
        if (rest.size() < n || !text::EqualsIgnoreCase(rest.substr(0, n), step.literal)) {
          return false;
        }
        rest.remove_prefix(n);
        continue;
      }
      case Kind::kSpace: {
        if (rest.size() < step.width) return false;
        for (size_t i = 0; i < step.width; ++i) {
          if (rest[i] != ' ') return false;
        }
        rest.remove_prefix(step.width);
        continue;
      }
      case Kind::kNewline:
        ++index;
        if (index >= lines.size()) return false;
        rest = lines[index];
        continue;
      default:
        break;
    }
    std::string_view value = CutValue(step, rest);
    if (step.kind == Kind::kSkip) continue;
    if (value.empty() && !step.literal.empty()) value = step.literal;
    switch (step.kind) {
      case Kind::kName:
        parts_set |= 1u << step.name_part;
        name_parts[step.name_part] = NamePart{
            step.literal.data(), step.name_prefix ? step.literal.size() : 0,
            value.data(), value.size()};
        break;
      case Kind::kCode:
        point.code = value;
        break;
      case Kind::kNorthing:
      case Kind::kEasting:
      case Kind::kElevation: {
        std::string& number = step.kind == Kind::kNorthing  ? point.northing
                              : step.kind == Kind::kEasting ? point.easting
                                                            : point.elevation;
        number.clear();
        AppendUploadNumber(number, value, step.decimals, decimal_separator_);
        break;
      }
      default:
        break;
    }
  }
  point.name.clear();
  // The parts read, lowest first.
  for (unsigned rest_set = parts_set; rest_set != 0; rest_set &= rest_set - 1) {
    const NamePart& part = name_parts[std::countr_zero(rest_set)];
    if (part.prefix_size != 0) point.name.append(part.prefix, part.prefix_size);
    point.name.append(part.value, part.value_size);
  }
  return true;
}

namespace {

// A point record with its CR LF.
constexpr size_t kPointLineLength = kPelixoPointRecordLength + 2;

// Below this many lines a second thread costs more than it saves.
constexpr size_t kLinesWorthASecondThread = 100000;
// The lines each thread converts at a time, and the records of one thread
// that are handed on together.
constexpr size_t kLinesPerBlock = 32768;
constexpr size_t kBlockBytes = kLinesPerBlock * kPointLineLength;

// Converts the points that start on the lines [begin, end) into records
// appended to `out`. With `take`, the records are handed on a block's worth
// at a time and at the end (a NEWLINE field may read past any block).
void AppendPointRecordsOfLines(const TUploadReader& reader,
                               const std::vector<std::string_view>& lines,
                               size_t begin, size_t end, std::string& out,
                               SendCounts& counts,
                               const PointRecordsTaker* take) {
  UploadPoint point;
  for (size_t i = begin; i < end; ++i) {
    size_t first = i;
    if (!reader.ConvertLineToRecord(lines, i, point)) {
      size_t last = i < end ? i : end - 1;
      counts.lines_skipped += last - first + 1;
      continue;
    }
    for (const std::string* value : {&point.name, &point.northing,
                                     &point.easting, &point.elevation,
                                     &point.code}) {
      if (value->size() > kPelixoFieldWidth) ++counts.values_cut;
    }
    AppendPelixoPointRecord(out, {point.name, point.northing, point.easting,
                                  point.elevation, point.code});
    out += "\r\n";
    ++counts.points_written;
    if (take != nullptr && out.size() >= kBlockBytes) {
      (*take)(out);
      out.clear();
    }
  }
  if (take != nullptr && !out.empty()) {
    (*take)(out);
    out.clear();
  }
}

}  // namespace

void ConvertPointRecordsOfFile(const TFormatDefinition& definition,
                               const std::vector<std::string_view>& lines,
                               char decimal_separator, SendCounts& counts,
                               const PointRecordsTaker& take) {
  size_t header = definition.HeaderLines.size();
  size_t footer = definition.FooterLines.size();
  size_t end = lines.size() > footer ? lines.size() - footer : 0;
  if (end <= header) return;

  TUploadReader reader(definition, decimal_separator);
  size_t points = end - header;
  // Every point record has the same length: a block's buffer never regrows.
  std::string mine;
  mine.reserve(std::min(points, kLinesPerBlock) * kPointLineLength + kPointLineLength);

  // Where every point is one line, a large file is converted in blocks two
  // at a time: this thread converts the first of a pair and hands it on
  // while a second thread converts the next.
  const bool two_threads = reader.ReadsOneLinePerPoint() &&
                           points >= kLinesWorthASecondThread &&
                           std::thread::hardware_concurrency() > 1;
  if (!two_threads) {
    AppendPointRecordsOfLines(reader, lines, header, end, mine, counts, &take);
    return;
  }
  // The second thread works on a buffer and counts of its own, handed over
  // with the block: nothing the two threads write shares a cache line.
  struct Block { std::string records; SendCounts counts; };
  std::string theirs;
  theirs.reserve(kBlockBytes);
  for (size_t begin = header; begin < end; begin += 2 * kLinesPerBlock) {
    size_t middle = std::min(end, begin + kLinesPerBlock);
    size_t stop = std::min(end, middle + kLinesPerBlock);
    std::future<Block> next;
    theirs.clear();  // the buffer handed back by the last pair (or a new one)
    if (middle < stop) {
      try {
        next = std::async(std::launch::async, [&reader, &lines, middle, stop,
                                               records = std::move(theirs)]() mutable {
          Block block{std::move(records), SendCounts()};
          AppendPointRecordsOfLines(reader, lines, middle, stop, block.records, block.counts,
                                    nullptr);
          return block;
        });
      } catch (const std::system_error&) {
        // No thread to be had: this one converts the block too.
        AppendPointRecordsOfLines(reader, lines, begin, stop, mine, counts, &take);
        continue;
      }
    }
    AppendPointRecordsOfLines(reader, lines, begin, middle, mine, counts, &take);
    if (!next.valid()) continue;
    Block block = next.get();
    if (!block.records.empty()) take(block.records);
    counts.points_written += block.counts.points_written;
    counts.lines_skipped += block.counts.lines_skipped;
    counts.values_cut += block.counts.values_cut;
    theirs = std::move(block.records);
  }
}

}  // namespace pelixo
