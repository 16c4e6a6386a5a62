#include "danvora/koordles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

#include "danvora/alert.h"
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
// pieces. The trailing line feed is removed.
class TextModeLines {
 public:
  explicit TextModeLines(std::string_view content) {
    content = content.substr(0, content.find('\x1a'));
    text_.reserve(content.size());
    for (size_t i = 0; i < content.size(); ++i) {
      if (content[i] == '\r' && i + 1 < content.size() &&
          content[i + 1] == '\n') {
        continue;
      }
      text_ += content[i];
    }
  }

  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::string_view rest = std::string_view(text_).substr(pos_);
    size_t length = std::min<size_t>(rest.size(), kPieceChars);
    size_t feed = rest.substr(0, length).find('\n');
    if (feed != std::string_view::npos) length = feed + 1;
    pos_ += length;
    line = rest.substr(0, length);
    line = line.substr(0, line.find('\0'));
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return true;
  }

 private:
  static constexpr size_t kPieceChars = 320;
  std::string text_;
  size_t pos_ = 0;
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

// Tabs expanded to the next multiple of 8, DOS letters replaced, and a short
// line padded so that the fixed columns can be cut out of it.
std::string NormaliseLine(std::string_view raw) {
  std::string line;
  line.reserve(raw.size() + 46);
  for (char c : raw) {
    if (c == '\t') {
      do {
        line += ' ';
      } while (line.size() % 8 != 0);
    } else {
      line += WindowsLetter(c);
    }
  }
  if (line.size() < 120) line.append(std::min<size_t>(120 - line.size(), 46), ' ');
  return line;
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
    while (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != '\n' &&
           text_[pos_] != ',') {
      ++pos_;
    }
    std::string_view token = text_.substr(start, pos_ - start);
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
    return token;
  }

 private:
  void SkipBlanks() {
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

// The decimal number at the start of `text` (blanks skipped, sign, digits,
// fraction, exponent), 0 when it holds none. Independent of the locale, so a
// host that changes it cannot turn the periods into errors.
double ToNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string number;
  bool has_digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    number += text[i++];
    has_digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      number += text[i++];
      has_digits = true;
    }
  }
  if (!has_digits) return 0.0;
  bool negative_exponent = false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      negative_exponent = text[j] == '-';
      exponent += text[j++];
    }
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
      number += exponent;
    }
  }
  double value = 0.0;
  auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    value = negative_exponent ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

std::string FixedFour(double value) {
  // Large enough for the fixed form of any double.
  char buffer[400];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::fixed, 4);
  if (error != std::errc()) return "0.0000";
  return std::string(buffer, end);
}

struct Point {
  std::string name;
  double number1 = 0.0;
  double number2 = 0.0;
  double number3 = 0.0;
  std::string code;
};

// KX77 lines take their field boundaries from the column header line: a
// decimal comma becomes a period, and the header's commas (and apostrophes
// after its first column) mark where the fields end.
Point ParseKx77(std::string_view normalised, std::string_view column_template) {
  std::string line(normalised.substr(0, normalised.find("/*")));
  if (line.size() < 82) line.append(std::min<size_t>(82 - line.size(), 40), ' ');
  std::replace(line.begin(), line.end(), ',', '.');
  size_t columns = std::min(line.size(), column_template.size());
  for (size_t i = 0; i < columns; ++i) {
    if (column_template[i] == ',' || (column_template[i] == '\'' && i > 0)) {
      line[i] = ',';
    }
  }
  TokenReader tokens(line);
  Point point;
  point.name = tokens.Next();
  point.number1 = ToNumber(tokens.Next());
  point.number2 = ToNumber(tokens.Next());
  point.number3 = ToNumber(tokens.Next());
  point.code = tokens.Next();
  return point;
}

Point ParseLine(std::string_view line, int format,
                std::string_view column_template) {
  Point point;
  switch (format) {
    case kKx77:
      return ParseKx77(line, column_template);
    case kSdl: {
      TokenReader tokens(line.size() > 2 ? line.substr(2) : std::string_view());
      point.name = tokens.Next();
      point.code = tokens.Next();
      point.number1 = ToNumber(tokens.Next());
      point.number2 = ToNumber(tokens.Next());
      point.number3 = ToNumber(tokens.Next());
      break;
    }
    case kLandcad:
      point.code = ColumnToken(line, 0, 3);
      point.code += '-';
      if (line.size() > 4) point.code += line[4];
      point.number1 = ToNumber(ColumnToken(line, 5, 15));
      point.number2 = ToNumber(ColumnToken(line, 17, 27));
      point.name = ColumnToken(line, 28, 38);
      point.number3 = ToNumber(ColumnToken(line, 39, 46));
      break;
    case kGeocad:
      // Millimetres.
      point.code = ColumnToken(line, 0, 5);
      point.number1 = ToNumber(ColumnToken(line, 6, 15)) * 0.001;
      point.number2 = ToNumber(ColumnToken(line, 16, 25)) * 0.001;
      point.number3 = ToNumber(ColumnToken(line, 26, 32)) * 0.001;
      point.name = ColumnToken(line, 102, 113);
      break;
    case kArgus:
      point.name = ColumnToken(line, 1, 10);
      point.code = ColumnToken(line, 12, 19);
      point.number1 = ToNumber(ColumnToken(line, 30, 40));
      point.number2 = ToNumber(ColumnToken(line, 42, 52));
      point.number3 = ToNumber(ColumnToken(line, 54, 60));
      break;
    case kCowi: {
      TokenReader tokens(line);
      point.number1 = ToNumber(tokens.Next());
      point.number2 = ToNumber(tokens.Next());
      point.number3 = ToNumber(tokens.Next());
      point.name = tokens.Next();
      point.code = tokens.Next();
      break;
    }
    case kAlt:
    case kKomma:
    default: {
      TokenReader tokens(line);
      point.name = tokens.Next();
      point.number1 = ToNumber(tokens.Next());
      point.number2 = ToNumber(tokens.Next());
      point.number3 = ToNumber(tokens.Next());
      point.code = tokens.Next();
      break;
    }
  }
  return point;
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
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string ConvertCoordinateText(std::string_view content, int format,
                                  int sign) {
  std::string out;
  if (format < kFirstReadableFormat || format > kLastReadableFormat) return out;
  // A point line is rarely longer than what it becomes: no regrowth.
  out.reserve(content.size());
  const Markers markers = MarkersFor(format);
  bool waiting = markers.wait_for_header;
  std::string column_template;

  TextModeLines lines(content);
  std::string_view raw;
  if (format == kGeocad) {
    // The GEOCAD file head.
    for (int i = 0; i < 16 && lines.Next(raw); ++i) {
    }
  }
  while (lines.Next(raw)) {
    const std::string line = NormaliseLine(raw);
    if (format == kCowi && StartsWith(line, "E")) break;
    if (StartsWith(line, markers.header)) {
      if (format == kKx77) {
        column_template = line.substr(0, 159);
      } else {
        column_template.clear();
      }
      waiting = false;
      continue;
    }
    if (StartsWith(line, markers.comment)) continue;
    if (format != kCowi && StartsWith(line, markers.info)) continue;
    if (format == kCowi && !HasPointNumber(line)) continue;
    if (waiting) continue;
    if (format != kGeocad && line.find('.') == std::string::npos) continue;

    Point point = ParseLine(line, format, column_template);
    if (sign < 0) point.number2 = -point.number2;
    out += point.name;
    out += ',';
    out += FixedFour(point.number1);
    out += ',';
    out += FixedFour(point.number2);
    out += ',';
    out += FixedFour(point.number3);
    out += ',';
    out += point.code;
    out += kLineEnd;
  }
  return out;
}

int16_t Koordles(const char* in_file, const char* out_file, int format,
                 int sign) {
  const std::string in_path = in_file != nullptr ? in_file : "";
  const std::string out_path = out_file != nullptr ? out_file : "";

  // Refused before any file is opened: an empty conversion would take the
  // place of the user's file and an empty job would be sent.
  if (format < kFirstReadableFormat || format > kLastReadableFormat) {
    alert_user("Format " + FormatLabel(format) + " kan ikke indl\xe6ses");
    return 255;
  }
  platform::Expected<std::string> content = platform::ReadWholeFile(in_path);
  if (!content) {
    alert_user(kCannotOpen + in_path);
    return 255;
  }
  platform::Expected<platform::FileOutput> out =
      platform::FileOutput::Create(out_path);
  if (!out) {
    alert_user(kCannotOpen + out_path);
    return 255;
  }
  out->Write(ConvertCoordinateText(*content, format, sign));
  if (!out->Commit()) {
    alert_user("Kunne ikke skrive " + out_path);
    return 255;
  }
  return 0;
}

}  // namespace danvora
