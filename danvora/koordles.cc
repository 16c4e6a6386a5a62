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
#include <vector>

#include "danvora/alert.h"
#include "dc/powers_of_ten.h"
#include "platform/file_output.h"
#include "platform/files.h"

namespace danvora {
namespace {

constexpr int kKx77 = 0;
constexpr int kSdl = 1;
constexpr int kLandcad = 2;
constexpr int kGeocad = 3;
constexpr int kAlt = 4;
constexpr int kArgus = 5;
constexpr int kCowi = 6;
constexpr int kKomma = 7;

// The library's own line end: the files it writes are Windows text files,
// the same bytes on every build.
constexpr std::string_view kLineEnd = "\r\n";

constexpr char kCannotOpen[] = "Kunne ikke \xe5" "bne ";  // åbne

// A marker no line of the format can begin with.
constexpr std::string_view kNoMarker = "#####";

// The lines of a format that carry no point.
struct Markers {
  std::string_view comment;
  std::string_view info;    // not looked at for COWI
  std::string_view header;
  bool wait_for_header;     // points only after the header line
};

Markers MarkersFor(int format) {
  switch (format) {
    case kKx77:
      return {"/* ", "&_", "' ", true};
    case kSdl:
      return {" 8 ", kNoMarker, kNoMarker, false};
    case kLandcad:
      return {"C", kNoMarker, kNoMarker, false};
    case kGeocad:
      return {"    ", kNoMarker, kNoMarker, false};
    case kCowi:
      return {"C", kNoMarker, kNoMarker, false};
    case kAlt:
    case kArgus:
    case kKomma:
    default:
      return {kNoMarker, kNoMarker, kNoMarker, false};
  }
}

// The names the refusal message shows for the formats koordles cannot read.
std::string FormatLabel(int format) {
  switch (format) {
    case 8:
      return "SVK";
    case 9:
      return "DAS";
    case 10:
      return "DDH";
    default:
      return std::to_string(format);
  }
}

// Gives the lines of a coordinate file the way reading it in text mode, at
// most 320 characters at a time, sees them: CR LF is a line feed, a Ctrl-Z
// ends the file, a NUL ends the line's text, and a longer line comes in
// pieces. The trailing line feed is removed. The lines are views of the
// file's own bytes: the only byte the text mode drops is the CR of a CR LF,
// which always sits just before the line feed, outside every piece.
class TextModeLines {
 public:
  explicit TextModeLines(std::string_view content)
      : text_(content.substr(0, content.find('\x1a'))) {}

  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    // The feed is looked up once per line, however many pieces it has.
    if (feed_ == std::string_view::npos || feed_ < pos_) {
      feed_ = std::min(text_.find('\n', pos_), text_.size());
    }
    const bool has_feed = feed_ < text_.size();
    size_t text_end = feed_;
    if (has_feed && text_end > pos_ && text_[text_end - 1] == '\r') {
      --text_end;
    }
    const size_t length = text_end - pos_;
    if (has_feed && length < kPieceChars) {
      line = text_.substr(pos_, length);
      pos_ = feed_ + 1;
    } else {
      line = text_.substr(pos_, std::min(length, kPieceChars));
      pos_ += line.size();
    }
    line = line.substr(0, line.find('\0'));
    return true;
  }

 private:
  static constexpr size_t kPieceChars = 320;
  std::string_view text_;
  size_t pos_ = 0;
  // The line feed ending the line at pos_ (text_.size() when none does);
  // stale once pos_ has passed it.
  size_t feed_ = std::string_view::npos;
};

// DOS letters of code pages 865 and 850 as Windows-1252 letters.
char WindowsLetter(char c) {
  switch (static_cast<unsigned char>(c)) {
    case 0x86:
      return '\xe5';  // å
    case 0x8f:
      return '\xc5';  // Å
    case 0x91:
      return '\xe6';  // æ
    case 0x92:
      return '\xc6';  // Æ
    case 0x9b:
      return '\xf8';  // ø
    case 0x9d:
      return '\xd8';  // Ø
    default:
      return c;
  }
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
    if constexpr (kWordwise) {
      for (; pos_ + 8 <= text_.size(); pos_ += 8) {
        const uint64_t others =
            LoadWord(text_.data() + pos_) ^ (kEveryByte * ' ');
        if (others != 0) {
          pos_ += ByteIndex(others);
          return;
        }
      }
    }
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// The token of the columns `first` to `last` (from 0) of `line`.
std::string_view ColumnToken(std::string_view line, size_t first, size_t last) {
  if (first >= line.size()) return {};
  return TokenReader(line.substr(first, last - first + 1)).Next();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The end of the digits of `text` from `i` on.
size_t SkipDigits(std::string_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// Reads digits from `i` on into `digits` (wrapping when there are too many
// for it: the caller then does not use it) and returns their end.
size_t ReadDigits(std::string_view text, size_t i, uint64_t& digits) {
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    digits = digits * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  return i;
}

// A decimal of at most 15 digits without exponent is read by one division:
// the digits and the power of ten are exact doubles, so the quotient is the
// correctly rounded value, the one from_chars gives.
constexpr size_t kShortDecimalDigits = 15;
// The units of 10^-4 in one unit of the last of 0 to 4 decimals.
constexpr uint64_t kUnitsPerDecimal[] = {10000, 1000, 100, 10, 1};

// The decimal number at the start of a field: blanks skipped, sign, digits,
// fraction, and an exponent if digits follow its letter.
struct Decimal {
  std::string_view run;  // the digits, fraction and exponent
  bool negative = false;
  bool has_exponent = false;
  bool negative_exponent = false;
  uint64_t digits = 0;  // the digits and decimals as one whole number,
                        // wrapped when there are too many
  size_t count = 0;     // of digits and decimals; 0: no number
  size_t decimals = 0;
};

Decimal ScanDecimal(std::string_view text) {
  Decimal decimal;
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    decimal.negative = text[i] == '-';
    ++i;
  }
  // The digits, the fraction and an exponent with digits are one run of the
  // text: that run is the number.
  const size_t start = i;
  i = ReadDigits(text, i, decimal.digits);
  decimal.count = i - start;
  if (i < text.size() && text[i] == '.') {
    const size_t fraction = i + 1;
    i = ReadDigits(text, fraction, decimal.digits);
    decimal.decimals = i - fraction;
    decimal.count += decimal.decimals;
  }
  if (decimal.count > 0 && i < text.size() &&
      (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      decimal.negative_exponent = text[j] == '-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      i = SkipDigits(text, j);
      decimal.has_exponent = true;
    }
  }
  decimal.run = text.substr(start, i - start);
  return decimal;
}

// The value of a decimal, 0 when there is none. Independent of the locale,
// so a host that changes it cannot turn the periods into errors.
double ToDouble(const Decimal& decimal) {
  if (decimal.count == 0) return 0.0;
  double value = 0.0;
  if (!decimal.has_exponent && decimal.count <= kShortDecimalDigits) {
    value = dc::ExactDecimal(decimal.digits, decimal.decimals);
  } else {
    const std::string_view run = decimal.run;
    auto [end, error] =
        std::from_chars(run.data(), run.data() + run.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
      value = decimal.negative_exponent ? 0.0 : HUGE_VAL;
    }
  }
  return decimal.negative ? -value : value;
}

// The decimal number at the start of `text`, 0 when it holds none.
double ToNumber(std::string_view text) { return ToDouble(ScanDecimal(text)); }

// Puts the two digits of `value` (below 100) at `out`.
void PutTwoDigits(unsigned value, char* out) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233"
      "34353637383940414243444546474849505152535455565758596061626364656667"
      "6869707172737475767778798081828384858687888990919293949596979899";
  std::memcpy(out, kPairs + 2 * value, 2);
}

// Puts the four digits of `value` (below 10^4, zeros in front) at `out`.
void PutFourDigits(unsigned value, char* out) {
  PutTwoDigits(value / 100, out);
  PutTwoDigits(value % 100, out + 2);
}

// Puts the digits of `value` (below 10^4), at least one, at `out` and
// returns the end.
char* PutShortDigits(unsigned value, char* out) {
  if (value < 10) {
    *out = static_cast<char>('0' + value);
    return out + 1;
  }
  if (value < 100) {
    PutTwoDigits(value, out);
    return out + 2;
  }
  if (value < 1000) {
    *out = static_cast<char>('0' + value / 100);
    PutTwoDigits(value % 100, out + 1);
    return out + 3;
  }
  PutFourDigits(value, out);
  return out + 4;
}

// Puts the digits of `value`, at least one, at `out` and returns the end.
char* PutDigits(uint64_t value, char* out) {
  if (value < 10000) return PutShortDigits(static_cast<unsigned>(value), out);
  out = PutDigits(value / 10000, out);
  PutFourDigits(static_cast<unsigned>(value % 10000), out);
  return out + 4;
}

// Writes a number of `units` of 10^-4 with four decimals at `out` and
// returns the end.
char* PutUnits(bool negative, uint64_t units, char* out) {
  if (negative) *out++ = '-';
  out = PutDigits(units / 10000, out);
  *out++ = '.';
  PutFourDigits(static_cast<unsigned>(units % 10000), out);
  return out + 4;
}

// Writes `value` with four decimals at `out` the way std::to_chars(fixed, 4)
// does (the exact binary value rounded half to even) and returns the end,
// or nullptr when the value is not below 2^49 in size or not finite.
// Integer arithmetic only: value * 10^4 is m * 625 * 2^(e + 4) for the
// double's m * 2^e, and m * 625 < 2^63.
char* PutFixedFourExactly(double value, char* out) {
  uint64_t bits = 0;
  static_assert(sizeof bits == sizeof value, "IEEE double");
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  if (biased == 0x7ff) return nullptr;
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  const int shift = -(exponent + 4);
  if (shift < 0) return nullptr;
  const uint64_t scaled = mantissa * 625;
  uint64_t units = 0;  // value * 10^4, rounded
  if (shift == 0) {
    units = scaled;
  } else if (shift < 64) {
    units = scaled >> shift;
    const uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  }  // else less than half a unit: 0
  return PutUnits(negative, units, out);
}

// The longest fixed form with four decimals of any double.
constexpr size_t kMaxFixedFour = 400;

// Writes `value` with four decimals at `out` (room for kMaxFixedFour) and
// returns the end.
char* PutFixedFour(double value, char* out) {
  if (char* end = PutFixedFourExactly(value, out)) return end;
  auto [end, error] = std::to_chars(out, out + kMaxFixedFour, value,
                                    std::chars_format::fixed, 4);
  if (error != std::errc()) {
    constexpr std::string_view kZero = "0.0000";
    std::memcpy(out, kZero.data(), kZero.size());
    return out + kZero.size();
  }
  return end;
}

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
    const Decimal decimal = ScanDecimal(text);
    if (decimal.count > 0 && !decimal.has_exponent && decimal.decimals <= 4 &&
        decimal.count + (4 - decimal.decimals) <= kShortDecimalDigits) {
      return Number(decimal.negative,
                    decimal.digits * kUnitsPerDecimal[decimal.decimals]);
    }
    return Number(ToDouble(decimal));
  }

  void Negate() {
    value_ = -value_;
    negative_ = !negative_;
  }

  // Writes the number at `out` (room for kMaxFixedFour) and returns the end.
  char* Put(char* out) const {
    if (has_units_) return PutUnits(negative_, units_, out);
    return PutFixedFour(value_, out);
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
  explicit PointParser(int format) : format_(format) {}

  // A header line of the format starts new columns.
  void SetHeader(std::string_view line) {
    separators_.clear();
    if (format_ != kKx77) return;
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

  int format_;
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
    case kKx77:
      return ParseKx77(line);
    case kSdl:
      return ParseSdl(line);
    case kLandcad:
      return ParseLandcad(line);
    case kGeocad:
      return ParseGeocad(line);
    case kArgus:
      return ParseArgus(line);
    case kCowi:
      return ParseCowi(line);
    case kAlt:
    case kKomma:
    default: {
      TokenReader tokens(line);
      return ReadFreeFields(tokens);
    }
  }
}

// COWI data lines begin with a point number other than 0.
bool HasPointNumber(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) ++i;
  bool nonzero = false;
  for (; i < line.size() && IsDigit(line[i]); ++i) {
    if (line[i] != '0') nonzero = true;
  }
  return nonzero;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  // The markers are a few characters: compared here, not by a library call.
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (text[i] != prefix[i]) return false;
  }
  return true;
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
void ConvertPoints(std::string_view content, int format, int sign, Sink& sink) {
  const Markers markers = MarkersFor(format);
  bool waiting = markers.wait_for_header;
  PointParser parser(format);

  TextModeLines lines(content);
  std::string_view raw;
  if (format == kGeocad) {
    // The GEOCAD file head.
    for (int i = 0; i < 16 && lines.Next(raw); ++i) {
    }
  }
  PointWriter writer;
  std::string buffer;
  while (lines.Next(raw)) {
    NormaliseLine(raw, buffer);
    const std::string_view line = buffer;
    if (format == kCowi && StartsWith(line, "E")) break;
    if (StartsWith(line, markers.header)) {
      parser.SetHeader(line);
      waiting = false;
      continue;
    }
    if (StartsWith(line, markers.comment)) continue;
    if (format != kCowi && StartsWith(line, markers.info)) continue;
    if (format == kCowi && !HasPointNumber(line)) continue;
    if (waiting) continue;
    if (format != kGeocad && line.find('.') == std::string_view::npos) continue;

    Point point = parser.Parse(buffer);
    if (sign < 0) point.number2.Negate();
    writer.Write(point, sink);
  }
}

// A Sink appending to a string.
class StringSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void Write(std::string_view bytes) { out_.append(bytes); }

 private:
  std::string& out_;
};

}  // namespace

std::string ConvertCoordinateText(std::string_view content, int format,
                                  int sign) {
  std::string out;
  if (format < kFirstReadableFormat || format > kLastReadableFormat) return out;
  // A point line is rarely longer than what it becomes: no regrowth.
  out.reserve(content.size());
  StringSink sink(out);
  ConvertPoints(content, format, sign, sink);
  return out;
}

int16_t Koordles(const char* in_file, const char* out_file, int format,
                 int sign) {
  const std::string in_path = in_file != nullptr ? in_file : "";
  const std::string out_path = out_file != nullptr ? out_file : "";

  // Refused before any file is opened: an empty conversion would take the
  // place of the user's file and an empty job would be sent.
  if (format < kFirstReadableFormat || format > kLastReadableFormat) {
    alert_user(platform::OwnWords("Format " + FormatLabel(format) + " kan ikke indl\xe6ses"));
    return 255;
  }
  platform::Expected<std::string> content = platform::ReadWholeFile(in_path);
  if (!content) {
    alert_user(platform::OwnWords(kCannotOpen) + in_path);
    return 255;
  }
  platform::Expected<platform::FileOutput> out =
      platform::FileOutput::Create(out_path);
  if (!out) {
    alert_user(platform::OwnWords(kCannotOpen) + out_path);
    return 255;
  }
  // Straight into the file's own buffer: no copy of the whole result.
  ConvertPoints(*content, format, sign, *out);
  if (!out->Commit()) {
    alert_user(platform::OwnWords("Kunne ikke skrive ") + out_path);
    return 255;
  }
  return 0;
}

}  // namespace danvora
