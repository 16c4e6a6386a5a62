#include "pelixo/core/ascii_export.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

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

std::string FormatDecimals(int decimals, double x);

// printf's "%*.*f" (right-aligned) or "%-*.*f".
std::string FormatFixed(bool right_aligned, int width, int decimals, double x) {
  if (std::isfinite(x)) {
    std::string text = FormatDecimals(decimals, x);
    if (text.size() < static_cast<size_t>(width)) {
      size_t pad = static_cast<size_t>(width) - text.size();
      if (right_aligned) {
        text.insert(0, pad, ' ');
      } else {
        text.append(pad, ' ');
      }
    }
    return text;
  }
  const char* format = right_aligned ? "%*.*f" : "%-*.*f";
  int size = std::snprintf(nullptr, 0, format, width, decimals, x);
  if (size < 0) return std::string();
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, width, decimals, x);
  text.resize(static_cast<size_t>(size));
  return text;
}

std::string FormatDecimals(int decimals, double x) {
  std::string quick;
  if (AppendFixedDecimals(quick, x, decimals)) return quick;
  // What is left is infinite, not a number or has very many decimals: at
  // most 309 digits, a sign, a point and kMaxDecimals decimals.
  char buffer[640];
  int size = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
  if (size < 0 || static_cast<size_t>(size) >= sizeof buffer) return std::string();
  return std::string(buffer, static_cast<size_t>(size));
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

ExportToken ClassifyExportToken(std::string_view token) {
  // In the order of ExportToken.
  static constexpr std::string_view kTokens[] = {
      "NAME", "NORTHING",    "EASTING", "ELEVATION",     "CODE",          "SPACE",  "TEXT",
      "NEWLINE", "HZPRECISION", "VTPRECISION", "PDOP", "NBRSATELLITES", "ALLATTRIBUTES",
      "COUNTER"};
  for (size_t i = 0; i < std::size(kTokens); ++i) {
    if (EqualsIgnoreCase(token, kTokens[i])) return static_cast<ExportToken>(i);
  }
  return ExportToken::kAttribute;
}

bool IsExportToken(std::string_view token) {
  return ClassifyExportToken(token) != ExportToken::kAttribute;
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
  std::string text = FormatFixed(field.RightAligned, width, d, x);
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

namespace {

std::string FormatKnownToken(ExportToken kind, const TField& field, bool comma_separated,
                             char pad_character, const DCPointValues& point,
                             const std::vector<std::string>& attributes,
                             const ExportContext& context) {
  auto number = [&](double x) {
    return FormatExportNumber(field, comma_separated, x, pad_character,
                              context.decimal_separator);
  };
  switch (kind) {
    case ExportToken::kName:
      return FormatExportText(field, comma_separated, point.name, pad_character);
    case ExportToken::kCode:
      return FormatExportText(field, comma_separated, point.code, pad_character);
    case ExportToken::kNorthing:
      return number(point.northing);
    case ExportToken::kEasting:
      return number(point.easting);
    case ExportToken::kElevation:
      return number(point.elevation);
    case ExportToken::kHzPrecision:
      return number(point.hz_precision);
    case ExportToken::kVtPrecision:
      return number(point.vt_precision);
    case ExportToken::kPdop:
      return number(point.pdop);
    case ExportToken::kSatellites:
      return number(static_cast<double>(point.satellites));
    case ExportToken::kSpace:
      return std::string(static_cast<size_t>(FieldWidth(field.Width)), ' ');
    case ExportToken::kText:
      if (comma_separated) return field.Literal;
      if (FieldWidth(field.Width) == 0) return std::string();
      return field.RightAligned ? dc::PadRightAligned(field.Literal, field.Width, ' ')
                                : dc::PadLeftAligned(field.Literal, field.Width, ' ');
    case ExportToken::kNewline:
      return "\r\n";
    case ExportToken::kAllAttributes: {
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
    case ExportToken::kCounter: {
      int32_t next = 1;
      if (context.counter != nullptr) {
        // A 32-bit running number, wrapping as such a number does.
        *context.counter =
            static_cast<int32_t>(static_cast<uint32_t>(*context.counter) + 1u);
        next = *context.counter;
      }
      return number(static_cast<double>(next));
    }
    case ExportToken::kAttribute:
      break;
  }
  return std::string();
}

// The definition's field kinds, worked out once for all of a file's points.
std::vector<ExportToken> FieldKinds(const TFormatDefinition& definition) {
  std::vector<ExportToken> kinds;
  kinds.reserve(static_cast<size_t>(definition.Fields.Count()));
  for (int i = 0; i < definition.Fields.Count(); ++i) {
    kinds.push_back(ClassifyExportToken(definition.Fields[i].Token));
  }
  return kinds;
}

void AppendPointLine(std::string& line, const TFormatDefinition& definition,
                     const std::vector<ExportToken>& kinds, const DCPointValues& point,
                     const std::vector<std::string>& attributes,
                     const ExportContext& context) {
  const bool comma = definition.CommaSeparated;
  const char pad = definition.PadCharacter;
  for (int i = 0; i < definition.Fields.Count(); ++i) {
    const TField& field = definition.Fields[i];
    const ExportToken kind = kinds[static_cast<size_t>(i)];
    // A TEXT field is joined to the value after it without a comma.
    if (comma && i > 0 && kinds[static_cast<size_t>(i) - 1] != ExportToken::kText) {
      line += ",";
    }
    if (kind != ExportToken::kAttribute) {
      line += FormatKnownToken(kind, field, comma, pad, point, attributes, context);
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
    } else if (comma) {
      line += ' ';
    } else {
      line.append(static_cast<size_t>(FieldWidth(field.Width)), ' ');
    }
  }
}

}  // namespace

std::string FormatToken(const TField& field, bool comma_separated, char pad_character,
                        const DCPointValues& point, const std::vector<std::string>& attributes,
                        const ExportContext& context) {
  return FormatKnownToken(ClassifyExportToken(field.Token), field, comma_separated,
                          pad_character, point, attributes, context);
}

std::string FormatPointLine(const TFormatDefinition& definition, const DCPointValues& point,
                            const std::vector<std::string>& attributes,
                            const ExportContext& context) {
  std::string line;
  AppendPointLine(line, definition, FieldKinds(definition), point, attributes, context);
  return line;
}

platform::Expected<ExportLines> BuildExportLines(const TFormatDefinition& definition,
                                                 const DCLines& dc_lines,
                                                 const TTICPointhandler* points,
                                                 const ExportContext& context) {
  if (dc_lines.empty()) return platform::Error("List index out of bounds (0)");
  const bool exchanged = CoordinatesExchanged(dc_lines);
  ExportLines result;
  // At most one line per record: the list never regrows. A point line is
  // mostly shorter than its record, so the DC file's size is room enough
  // for the text in nearly every case (pages never written stay unused).
  size_t dc_characters = 0;
  for (std::string_view line : dc_lines) dc_characters += line.size() + 2;
  result.lines.reserve(definition.HeaderLines.size() + dc_lines.size() +
                           definition.FooterLines.size(),
                       dc_characters);
  for (const std::string& header : definition.HeaderLines) result.lines.push_back(header);
  const std::vector<ExportToken> kinds = FieldKinds(definition);
  for (size_t r = 0; r < dc_lines.size(); ++r) {
    DCPointValues point;
    bool without_coordinates = false;
    if (!ReadPointAt(dc_lines, r, exchanged, points, &point, &without_coordinates)) {
      if (without_coordinates) ++result.measured_without_coordinates;
      continue;
    }
    std::vector<std::string> attributes;
    if (HasAttributeMarker(dc_lines, r)) attributes = CollectAttributes(dc_lines, r);
    result.lines.AppendBuilt([&](std::string& text) {
      AppendPointLine(text, definition, kinds, point, attributes, context);
    });
  }
  for (const std::string& footer : definition.FooterLines) result.lines.push_back(footer);
  return result;
}

}  // namespace pelixo
