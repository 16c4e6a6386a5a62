#include "danvora/koordles.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "danvora/alert.h"
#include "danvora/interface.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "text/ascii.h"
#include "text/line_reader.h"
#include "text/numbers.h"

namespace danvora {
namespace {

// The library's own line end: the files it writes are Windows text files,
// the same bytes on every build.
constexpr std::string_view kLineEnd = "\r\n";

// A marker no line of the format can begin with.
constexpr std::string_view kNoMarker = "#####";

// The lines of a format that carry no point.
struct Markers {
  std::string_view comment;
  std::string_view info;    // not looked at for COWI
  std::string_view header;
  bool wait_for_header;     // points only after the header line
};

Markers MarkersFor(ExportFormat format) {
  switch (format) {
    case ExportFormat::kKx77:
      return {"/* ", "&_", "' ", true};
    case ExportFormat::kSdl:
      return {" 8 ", kNoMarker, kNoMarker, false};
    case ExportFormat::kLandcad:
    case ExportFormat::kCowi:
      return {"C", kNoMarker, kNoMarker, false};
    case ExportFormat::kGeocad:
      return {"    ", kNoMarker, kNoMarker, false};
    default:  // ALT, ARGUS, Komma
      return {kNoMarker, kNoMarker, kNoMarker, false};
  }
}

// The name the refusal message shows for a format koordles cannot read: a
// number without a name as the number.
std::string FormatLabel(ExportFormat format) {
  const std::string_view name = export_format_name(format);
  return name.empty() ? std::to_string(FormatNumber(format))
                      : std::string(name);
}

// DOS letters of code pages 865 and 850 as Windows-1252 letters: å Å æ Æ ø Ø.
char WindowsLetter(char c) {
  constexpr std::string_view kDos = "\x86\x8f\x91\x92\x9b\x9d";
  constexpr std::string_view kWindows = "\xe5\xc5\xe6\xc6\xf8\xd8";
  const size_t at = kDos.find(c);
  return at == std::string_view::npos ? c : kWindows[at];
}

// True when NormaliseLine has nothing to change in `raw` but the padding: no
// tab and no byte above 0x7f.
bool IsPlainAscii(std::string_view raw) {
  // No branches, so that the compiler makes the loop wide.
  unsigned char any = 0;
  unsigned char tab = 0;
  for (char c : raw) {
    any |= static_cast<unsigned char>(c);
    tab |= static_cast<unsigned char>(c == '\t');
  }
  return (any & 0x80) == 0 && tab == 0;
}

// Tabs expanded to the next multiple of 8, DOS letters replaced, and a short
// line padded so that the fixed columns can be cut out of it. Writes into
// `line`, whose storage is reused from line to line.
void NormaliseLine(std::string_view raw, std::string& line) {
  if (IsPlainAscii(raw)) {
    line.assign(raw.data(), raw.size());
  } else {
    line.clear();
    for (char c : raw) {
      if (c == '\t') {
        do {
          line += ' ';
        } while (line.size() % 8 != 0);
      } else {
        line += WindowsLetter(c);
      }
    }
  }
  if (line.size() < 120) line.append(std::min<size_t>(120 - line.size(), 46), ' ');
}

// Eight bytes at a time: words of a line are looked at whole while they
// hold neither a token's end nor its start.
constexpr uint64_t kEveryByte = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;
constexpr bool kWordwise = std::endian::native == std::endian::little;

uint64_t LoadWord(const char* bytes) {
  uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// The high bit of the first byte of `word` (in memory order, the machine
// being little-endian) that is `byte` is set, and no bit below it; bits
// above it may be set too.
uint64_t FirstByteEqual(uint64_t word, char byte) {
  const uint64_t x = word ^ (kEveryByte * static_cast<unsigned char>(byte));
  return (x - kEveryByte) & ~x & kHighBits;
}

// The index of the byte with the lowest set bit of a nonzero `mask`.
size_t ByteIndex(uint64_t mask) {
  return static_cast<size_t>(std::countr_zero(mask)) / 8;
}

// Free-format fields: blanks before a token are skipped, the token runs to
// the next blank, line feed or comma, and the blanks and one comma after it
// are skipped.
class TokenReader {
 public:
  explicit TokenReader(std::string_view text) : text_(text) {}

  std::string_view Next() {
    SkipBlanks();
    size_t start = pos_;
    SkipToken();
    std::string_view token = text_.substr(start, pos_ - start);
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
    return token;
  }

 private:
  static bool EndsToken(char c) { return c == ' ' || c == '\n' || c == ','; }

  void SkipToken() {
    if constexpr (kWordwise) {
      for (; pos_ + 8 <= text_.size(); pos_ += 8) {
        const uint64_t word = LoadWord(text_.data() + pos_);
        const uint64_t ends = FirstByteEqual(word, ' ') |
                              FirstByteEqual(word, '\n') |
                              FirstByteEqual(word, ',');
        if (ends != 0) {
          pos_ += ByteIndex(ends);
          return;
        }
      }
    }
    while (pos_ < text_.size() && !EndsToken(text_[pos_])) ++pos_;
  }

  void SkipBlanks() {
    const char* const begin = text_.data();
    pos_ = static_cast<size_t>(
        text::SkipBlanks(begin + pos_, begin + text_.size()) - begin);
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// The token of the columns `first` to `last` (from 0) of `line`.
std::string_view ColumnToken(std::string_view line, size_t first, size_t last) {
  if (first >= line.size()) return {};
  return TokenReader(line.substr(first, last - first + 1)).Next();
}

// The units of 10^-4 in one unit of the last of 0 to 4 decimals.
constexpr uint64_t kUnitsPerDecimal[] = {10000, 1000, 100, 10, 1};

// The decimal number at the start of a field, after its white space.
text::DecimalScan ScanField(std::string_view field) {
  return text::ScanDecimal(text::SkipCSpace(field));
}

// The decimal number at the start of `field`, 0 when it holds none.
double ToNumber(std::string_view field) { return ScanField(field).value; }

// Writes a number of `units` of 10^-4 with four decimals at `out` and
// returns the end.
char* PutUnits(bool negative, uint64_t units, char* out) {
  if (negative) *out++ = '-';
  const uint64_t whole = units / 10000;
  const int digits = text::DigitCount(whole);
  out += digits;
  text::WriteDigitsBackward(out, whole, digits);
  *out++ = '.';
  out += 4;
  text::WriteDigitsBackward(out, units % 10000, 4);
  return out;
}

// The longest fixed form with four decimals of any double.
constexpr size_t kMaxFixedFour = text::FixedRoom(4);

char* PutText(std::string_view text, char* out) {
  // An empty view may have no data at all: no memcpy.
  return std::copy(text.begin(), text.end(), out);
}

// A number of a point, written with four decimals. One read from at most
// four decimals and few digits is kept as its exact count of units of 10^-4:
// its double is within a ninth of a unit of that count, so rounding the
// double to four decimals would give that same count.
class Number {
 public:
  Number() = default;
  explicit Number(double value) : value_(value) {}

  // The number at the start of `text`, 0 when it holds none.
  static Number Read(std::string_view text) {
    const text::DecimalScan decimal = ScanField(text);
    if (decimal.exact && decimal.decimals <= 4 &&
        decimal.digit_count + (4 - decimal.decimals) <= text::kExactDigits) {
      return Number(decimal.negative,
                    decimal.digits * kUnitsPerDecimal[decimal.decimals]);
    }
    return Number(decimal.value);
  }

  void Negate() {
    value_ = -value_;
    negative_ = !negative_;
  }

  // Writes the number at `out` (room for kMaxFixedFour) and returns the end.
  char* Put(char* out) const {
    if (has_units_) return PutUnits(negative_, units_, out);
    return text::WriteFixed(out, value_, 4);
  }

 private:
  Number(bool negative, uint64_t units)
      : units_(units), negative_(negative), has_units_(true) {}

  double value_ = 0.0;  // when not kept as units
  uint64_t units_ = 0;
  bool negative_ = false;  // of the units, -0 included
  bool has_units_ = false;
};

// A point's fields; the name and code view the line or the parser's own
// buffer and last until the next line is parsed.
struct Point {
  std::string_view name;
  Number number1;
  Number number2;
  Number number3;
  std::string_view code;
};

// Reads the points of one format's lines. KX77 lines take their field
// boundaries from the column header line: a decimal comma becomes a period,
// and the header's commas (and apostrophes after its first column) mark
// where the fields end.
class PointParser {
 public:
  explicit PointParser(ExportFormat format) : format_(format) {}

  // A header line of the format starts new columns.
  void SetHeader(std::string_view line) {
    separators_.clear();
    if (format_ != ExportFormat::kKx77) return;
    std::string_view columns = line.substr(0, 159);
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i] == ',' || (columns[i] == '\'' && i > 0)) {
        separators_.push_back(i);
      }
    }
  }

  // The point of a normalised line, which KX77 marks its field ends in.
  Point Parse(std::string& line);

 private:
  Point ParseKx77(std::string& line);
  Point ParseLandcad(std::string_view line);

  ExportFormat format_;
  // KX77: the columns of the header's field ends, in order.
  std::vector<size_t> separators_;
  // A composed LandCAD code.
  std::string scratch_;
};

// Fields read by name, numbers, code order, one after the other. Each
// parse fills a Point in one go: a default Point first would be cleared for
// nothing on every line.
Point ReadFreeFields(TokenReader& tokens) {
  const std::string_view name = tokens.Next();
  const Number number1 = Number::Read(tokens.Next());
  const Number number2 = Number::Read(tokens.Next());
  const Number number3 = Number::Read(tokens.Next());
  return {name, number1, number2, number3, tokens.Next()};
}

Point ParseSdl(std::string_view line) {
  TokenReader tokens(line.size() > 2 ? line.substr(2) : std::string_view());
  const std::string_view name = tokens.Next();
  const std::string_view code = tokens.Next();
  const Number number1 = Number::Read(tokens.Next());
  const Number number2 = Number::Read(tokens.Next());
  const Number number3 = Number::Read(tokens.Next());
  return {name, number1, number2, number3, code};
}

Point ParseGeocad(std::string_view line) {
  // Millimetres.
  return {ColumnToken(line, 102, 113),
          Number(ToNumber(ColumnToken(line, 6, 15)) * 0.001),
          Number(ToNumber(ColumnToken(line, 16, 25)) * 0.001),
          Number(ToNumber(ColumnToken(line, 26, 32)) * 0.001),
          ColumnToken(line, 0, 5)};
}

Point ParseArgus(std::string_view line) {
  return {ColumnToken(line, 1, 10), Number::Read(ColumnToken(line, 30, 40)),
          Number::Read(ColumnToken(line, 42, 52)),
          Number::Read(ColumnToken(line, 54, 60)), ColumnToken(line, 12, 19)};
}

Point ParseCowi(std::string_view line) {
  TokenReader tokens(line);
  const Number number1 = Number::Read(tokens.Next());
  const Number number2 = Number::Read(tokens.Next());
  const Number number3 = Number::Read(tokens.Next());
  const std::string_view name = tokens.Next();
  return {name, number1, number2, number3, tokens.Next()};
}

Point PointParser::ParseKx77(std::string& line) {
  line.resize(std::min(line.size(), line.find("/*")));
  if (line.size() < 82) line.append(std::min<size_t>(82 - line.size(), 40), ' ');
  // Commas are rare: found with memchr rather than looked at one by one.
  for (size_t at = line.find(','); at != std::string::npos;
       at = line.find(',', at + 1)) {
    line[at] = '.';
  }
  for (size_t column : separators_) {
    if (column >= line.size()) break;
    line[column] = ',';
  }
  TokenReader tokens(line);
  return ReadFreeFields(tokens);
}

Point PointParser::ParseLandcad(std::string_view line) {
  scratch_.assign(ColumnToken(line, 0, 3));
  scratch_ += '-';
  if (line.size() > 4) scratch_ += line[4];
  return {ColumnToken(line, 28, 38), Number::Read(ColumnToken(line, 5, 15)),
          Number::Read(ColumnToken(line, 17, 27)),
          Number::Read(ColumnToken(line, 39, 46)), scratch_};
}

Point PointParser::Parse(std::string& line) {
  switch (format_) {
    case ExportFormat::kKx77:
      return ParseKx77(line);
    case ExportFormat::kSdl:
      return ParseSdl(line);
    case ExportFormat::kLandcad:
      return ParseLandcad(line);
    case ExportFormat::kGeocad:
      return ParseGeocad(line);
    case ExportFormat::kArgus:
      return ParseArgus(line);
    case ExportFormat::kCowi:
      return ParseCowi(line);
    default: {  // ALT, Komma
      TokenReader tokens(line);
      return ReadFreeFields(tokens);
    }
  }
}

// COWI data lines begin with a point number other than 0.
bool HasPointNumber(std::string_view line) {
  return text::ScanInteger(text::SkipCSpace(line)).value != 0;
}

// Composes the output line of each point in one buffer, so that it reaches
// the sink in one piece.
class PointWriter {
 public:
  template <typename Sink>
  void Write(const Point& point, Sink& sink) {
    const size_t longest = point.name.size() + point.code.size() +
                           3 * kMaxFixedFour + 4 + kLineEnd.size();
    if (line_.size() < longest) line_.resize(longest);
    char* const start = line_.data();
    char* out = PutText(point.name, start);
    *out++ = ',';
    out = point.number1.Put(out);
    *out++ = ',';
    out = point.number2.Put(out);
    *out++ = ',';
    out = point.number3.Put(out);
    *out++ = ',';
    out = PutText(point.code, out);
    out = PutText(kLineEnd, out);
    sink.Write(std::string_view(start, static_cast<size_t>(out - start)));
  }

 private:
  std::vector<char> line_;  // only grows
};

// Converts the bytes of a whole coordinate file of a readable format into
// `sink` (anything with Write(std::string_view)).
template <typename Sink>
void ConvertPoints(std::string_view content, ExportFormat format, int sign,
                   Sink& sink) {
  const Markers markers = MarkersFor(format);
  bool waiting = markers.wait_for_header;
  PointParser parser(format);

  text::LineReader<text::kCoordinateFileLines> lines(content);
  std::string_view raw;
  if (format == ExportFormat::kGeocad) {
    // The GEOCAD file head.
    for (int i = 0; i < 16 && lines.Next(&raw); ++i) {
    }
  }
  PointWriter writer;
  std::string buffer;
  while (lines.Next(&raw)) {
    NormaliseLine(raw, buffer);
    const std::string_view line = buffer;
    if (format == ExportFormat::kCowi && line.starts_with("E")) break;
    if (line.starts_with(markers.header)) {
      parser.SetHeader(line);
      waiting = false;
      continue;
    }
    if (line.starts_with(markers.comment)) continue;
    if (format != ExportFormat::kCowi && line.starts_with(markers.info)) {
      continue;
    }
    if (format == ExportFormat::kCowi && !HasPointNumber(line)) continue;
    if (waiting) continue;
    if (format != ExportFormat::kGeocad &&
        line.find('.') == std::string_view::npos) {
      continue;
    }

    Point point = parser.Parse(buffer);
    if (sign < 0) point.number2.Negate();
    writer.Write(point, sink);
  }
}

}  // namespace

std::string ConvertCoordinateText(std::string_view content, ExportFormat format,
                                  int sign) {
  if (!IsReadableFormat(format)) return {};
  struct {
    std::string out;
    void Write(std::string_view bytes) { out.append(bytes); }
  } sink;
  // A point line is rarely longer than what it becomes: no regrowth.
  sink.out.reserve(content.size());
  ConvertPoints(content, format, sign, sink);
  return std::move(sink.out);
}

int16_t Koordles(const std::string& in_path, const std::string& out_path,
                 ExportFormat format, int sign) {
  // Refused before any file is opened: an empty conversion would take the
  // place of the user's file and an empty job would be sent.
  if (!IsReadableFormat(format)) {
    alert_user(platform::OwnWords("Format " + FormatLabel(format) + " kan ikke indl\xe6ses"));
    return kRefused;
  }
  platform::Expected<std::string> content = platform::ReadWholeFile(in_path);
  if (!content) {
    alert_cannot_open(in_path);
    return kRefused;
  }
  platform::Expected<platform::FileOutput> out =
      platform::FileOutput::Create(out_path);
  if (!out) {
    alert_cannot_open(out_path);
    return kRefused;
  }
  // Straight into the file's own buffer: no copy of the whole result.
  ConvertPoints(*content, format, sign, *out);
  if (!out->Commit()) {
    alert_cannot_write(out_path);
    return kRefused;
  }
  return kTranslated;
}

}  // namespace danvora
