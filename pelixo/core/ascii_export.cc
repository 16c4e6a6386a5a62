#include "pelixo/core/ascii_export.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dc/pelixo_records.h"
#include "pelixo/core/text.h"

namespace pelixo {

namespace {

// Decimals beyond any survey value are limited, as widths are to 8 bits.
constexpr int64_t kMaxDecimals = 255;

int Decimals(int32_t decimals) {
  int64_t d = std::llabs(static_cast<long long>(decimals));
  return static_cast<int>(d > kMaxDecimals ? kMaxDecimals : d);
}

int FieldWidth(int32_t width) { return static_cast<int>(dc::PaddingWidth(width)); }

bool IsNull(double x) { return x == kNullReal || x == static_cast<double>(kNullInteger); }

// printf's "%*.*f" family; `flags` is "" or "-".
std::string FormatFixed(const char* format, int width, int decimals, double x) {
  int size = std::snprintf(nullptr, 0, format, width, decimals, x);
  if (size < 0) return std::string();
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, width, decimals, x);
  text.resize(static_cast<size_t>(size));
  return text;
}

std::string FormatDecimals(int decimals, double x) {
  // to_chars gives the bytes of "%.*f" without the cost of printf.
  if (decimals >= 0 && std::isfinite(x)) {
    char buffer[128];
    const std::to_chars_result fast = std::to_chars(
        buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
    if (fast.ec == std::errc()) return std::string(buffer, fast.ptr);
  }
  int size = std::snprintf(nullptr, 0, "%.*f", decimals, x);
  if (size < 0) return std::string();
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*f", decimals, x);
  text.resize(static_cast<size_t>(size));
  return text;
}

// The C library writes ".", the system may want another separator.
void UseSeparator(std::string& text, char decimal_separator) {
  for (char& c : text) {
    if (c == '.') c = decimal_separator;
  }
}

void RemoveAll(std::string& text, char c) {
  std::string kept;
  kept.reserve(text.size());
  for (char d : text) {
    if (d != c) kept.push_back(d);
  }
  text.swap(kept);
}

double NumberOrZero(std::string_view text) {
  double x = 0;
  if (!ParseReal(Trim(text), &x)) return 0;
  return x;
}

}  // namespace

bool IsExportToken(std::string_view token) {
  static constexpr std::string_view kTokens[] = {
      "NAME", "NORTHING",    "EASTING", "ELEVATION",     "CODE",          "SPACE",  "TEXT",
      "NEWLINE", "HZPRECISION", "VTPRECISION", "PDOP", "NBRSATELLITES", "ALLATTRIBUTES",
      "COUNTER"};
  for (std::string_view known : kTokens) {
    if (EqualsIgnoreCase(token, known)) return true;
  }
  return false;
}

std::string FormatExportNumber(const TField& field, bool comma_separated, double x,
                               char pad_character, char decimal_separator) {
  const int d = Decimals(field.Decimals);
  if (IsNull(x)) {
    if (comma_separated) return std::string();
    return std::string(static_cast<size_t>(FieldWidth(field.Width)), pad_character);
  }
  if (comma_separated) {
    // Always a period between the digits, or nothing with implied decimals.
    std::string text = FormatDecimals(d, x);
    if (field.Decimals < 0) RemoveAll(text, '.');
    return text;
  }
  const int width = FieldWidth(field.Width);
  std::string text = FormatFixed(field.RightAligned ? "%*.*f" : "%-*.*f", width, d, x);
  UseSeparator(text, decimal_separator);
  if (field.Decimals < 0) {
    RemoveAll(text, decimal_separator);
    if (field.RightAligned) {
      text.insert(text.begin(), ' ');
    } else {
      text.push_back(' ');
    }
  }
  if (pad_character != ' ') {
    size_t leading = 0;
    while (leading < text.size() && text[leading] == ' ') ++leading;
    if (pad_character == '0' && field.RightAligned && leading > 0 && leading < text.size() &&
        text[leading] == '-') {
      // Zeros between the minus sign and the digits keep the text a number:
      // -0012.50, not 00-12.50.
      std::string moved(1, '-');
      moved.append(leading, '0');
      moved.append(text, leading + 1, std::string::npos);
      text.swap(moved);
    }
    for (char& c : text) {
      if (c == ' ') c = pad_character;
    }
  }
  return text;
}

std::string FormatExportText(const TField& field, bool comma_separated, std::string_view text,
                             char pad_character) {
  if (comma_separated || field.Width <= 0) return std::string(text);
  return field.RightAligned ? dc::PadRightAligned(text, field.Width, pad_character)
                            : dc::PadLeftAligned(text, field.Width, pad_character);
}

std::string FormatAttributeValue(std::string_view text, int32_t decimals,
                                 char decimal_separator) {
  double x;
  if (!ParseReal(text, &x)) return std::string(text);
  if (std::fabs(x - std::round(x)) < 0.00001) return FormatDecimals(0, x);
  std::string result = FormatDecimals(Decimals(decimals), x);
  UseSeparator(result, decimal_separator);
  if (decimals < 0) RemoveAll(result, decimal_separator);
  return result;
}

std::string FormatToken(const TField& field, bool comma_separated, char pad_character,
                        const DCPointValues& point, const std::vector<std::string>& attributes,
                        const ExportContext& context) {
  const std::string& token = field.Token;
  auto number = [&](double x) {
    return FormatExportNumber(field, comma_separated, x, pad_character,
                              context.decimal_separator);
  };
  if (EqualsIgnoreCase(token, "NAME")) {
    return FormatExportText(field, comma_separated, point.name, pad_character);
  }
  if (EqualsIgnoreCase(token, "CODE")) {
    return FormatExportText(field, comma_separated, point.code, pad_character);
  }
  if (EqualsIgnoreCase(token, "NORTHING")) return number(point.northing);
  if (EqualsIgnoreCase(token, "EASTING")) return number(point.easting);
  if (EqualsIgnoreCase(token, "ELEVATION")) return number(point.elevation);
  if (EqualsIgnoreCase(token, "HZPRECISION")) return number(point.hz_precision);
  if (EqualsIgnoreCase(token, "VTPRECISION")) return number(point.vt_precision);
  if (EqualsIgnoreCase(token, "PDOP")) return number(point.pdop);
  if (EqualsIgnoreCase(token, "NBRSATELLITES")) {
    return number(static_cast<double>(point.satellites));
  }
  if (EqualsIgnoreCase(token, "SPACE")) {
    return std::string(static_cast<size_t>(FieldWidth(field.Width)), ' ');
  }
  if (EqualsIgnoreCase(token, "TEXT")) {
    if (comma_separated) return field.Literal;
    if (FieldWidth(field.Width) == 0) return std::string();
    return field.RightAligned ? dc::PadRightAligned(field.Literal, field.Width, ' ')
                              : dc::PadLeftAligned(field.Literal, field.Width, ' ');
  }
  if (EqualsIgnoreCase(token, "NEWLINE")) return "\r\n";
  if (EqualsIgnoreCase(token, "ALLATTRIBUTES")) {
    std::string text;
    if (!comma_separated) return text;
    for (size_t i = 0; i < attributes.size(); ++i) {
      if (i > 0) text += ",";
      text += AttributeName(attributes[i]);
      text += ",";
      text += FormatAttributeValue(AttributeValue(attributes[i]), field.Decimals,
                                   context.decimal_separator);
    }
    return text;
  }
  if (EqualsIgnoreCase(token, "COUNTER")) {
    int32_t next = 1;
    if (context.counter != nullptr) {
      // A 32-bit running number, wrapping as such a number does.
      *context.counter =
          static_cast<int32_t>(static_cast<uint32_t>(*context.counter) + 1u);
      next = *context.counter;
    }
    return number(static_cast<double>(next));
  }
  return std::string();
}

std::string FormatPointLine(const TFormatDefinition& definition, const DCPointValues& point,
                            const std::vector<std::string>& attributes,
                            const ExportContext& context) {
  const bool comma = definition.CommaSeparated;
  const char pad = definition.PadCharacter;
  std::string line;
  for (int i = 0; i < definition.Fields.Count(); ++i) {
    const TField& field = definition.Fields[i];
    // A TEXT field is joined to the value after it without a comma.
    if (comma && i > 0 && !EqualsIgnoreCase(definition.Fields[i - 1].Token, "TEXT")) {
      line += ",";
    }
    if (IsExportToken(field.Token)) {
      line += FormatToken(field, comma, pad, point, attributes, context);
      continue;
    }
    bool matched = false;
    for (const std::string& attribute : attributes) {
      if (!EqualsIgnoreCase(AttributeName(attribute), field.Token)) continue;
      matched = true;
      std::string_view value = AttributeValue(attribute);
      if (field.Numeric) {
        line += FormatExportNumber(field, comma, NumberOrZero(value), pad,
                                   context.decimal_separator);
      } else {
        line += FormatExportText(field, comma, value, pad);
      }
    }
    if (matched) continue;
    if (!field.Literal.empty()) {
      if (field.Numeric) {
        line += FormatExportNumber(field, comma, NumberOrZero(field.Literal), pad,
                                   context.decimal_separator);
      } else {
        line += FormatExportText(field, comma, field.Literal, pad);
      }
    } else {
      line += comma ? std::string(" ")
                    : std::string(static_cast<size_t>(FieldWidth(field.Width)), ' ');
    }
  }
  return line;
}

platform::Expected<ExportLines> BuildExportLines(const TFormatDefinition& definition,
                                                 const DCLines& dc_lines,
                                                 const TTICPointhandler* points,
                                                 const ExportContext& context) {
  if (dc_lines.empty()) return platform::Error("List index out of bounds (0)");
  const bool exchanged = CoordinatesExchanged(dc_lines);
  ExportLines result;
  // At most one line per record: the list never regrows.
  result.lines.reserve(definition.HeaderLines.size() + dc_lines.size() +
                       definition.FooterLines.size());
  result.lines = definition.HeaderLines;
  for (size_t r = 0; r < dc_lines.size(); ++r) {
    DCPointValues point;
    bool without_coordinates = false;
    if (!ReadPointAt(dc_lines, r, exchanged, points, &point, &without_coordinates)) {
      if (without_coordinates) ++result.measured_without_coordinates;
      continue;
    }
    std::vector<std::string> attributes;
    if (HasAttributeMarker(dc_lines, r)) attributes = CollectAttributes(dc_lines, r);
    result.lines.push_back(FormatPointLine(definition, point, attributes, context));
  }
  result.lines.insert(result.lines.end(), definition.FooterLines.begin(),
                      definition.FooterLines.end());
  return result;
}

}  // namespace pelixo
