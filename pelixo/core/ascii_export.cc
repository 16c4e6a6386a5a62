#include "pelixo/core/ascii_export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "pelixo/core/pelixo_records.h"
#include "pelixo/core/text.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace pelixo {

namespace {

// Decimals beyond any survey value are limited, as widths are to 8 bits.
constexpr int64_t kMaxDecimals = 255;

int Decimals(int32_t decimals) {
  int64_t d = std::llabs(static_cast<long long>(decimals));
  return static_cast<int>(d > kMaxDecimals ? kMaxDecimals : d);
}

int FieldWidth(int32_t width) { return static_cast<int>(PaddingWidth(width)); }

bool IsNull(double x) { return x == kNullReal || x == static_cast<double>(kNullInteger); }

// Appends printf's "%.*f" of `x`; straight from `source`, the text `x` was
// read from (or empty), where that gives the same bytes.
void AppendDecimals(std::string& out, int decimals, double x, std::string_view source) {
  if (!source.empty() && AppendFixedDecimalsOfText(out, source, decimals)) return;
  text::AppendFixed(out, x, decimals);
}

// printf's "%*.*f" (right-aligned) or "%-*.*f".
std::string FormatFixed(bool right_aligned, int width, int decimals, double x,
                        std::string_view source) {
  std::string text;
  AppendDecimals(text, decimals, x, source);
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

// The C library writes ".", the system may want another separator.
void UseSeparator(std::string& text, char decimal_separator) {
  for (char& c : text) {
    if (c == '.') c = decimal_separator;
  }
}

// Removes every `c` from the text from `start` on.
void RemoveAll(std::string& text, char c, size_t start = 0) {
  text.erase(std::remove(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), c),
             text.end());
}

double NumberOrZero(std::string_view text) {
  double x = 0;
  if (!ParseReal(text::Trim(text), &x)) return 0;
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
    if (text::EqualsIgnoreCase(token, kTokens[i])) return static_cast<ExportToken>(i);
  }
  return ExportToken::kAttribute;
}

void AppendExportNumber(std::string& out, const TField& field, bool comma_separated, double x,
                        std::string_view source, char pad_character, char decimal_separator) {
  const int d = Decimals(field.Decimals);
  if (IsNull(x)) {
    if (!comma_separated) out.append(static_cast<size_t>(FieldWidth(field.Width)), pad_character);
    return;
  }
  if (comma_separated) {
    // Always a period between the digits, or nothing with implied decimals.
    const size_t start = out.size();
    AppendDecimals(out, d, x, source);
    if (field.Decimals < 0) RemoveAll(out, '.', start);
    return;
  }
  const int width = FieldWidth(field.Width);
  std::string text = FormatFixed(field.RightAligned, width, d, x, source);
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
  out += text;
}

void AppendExportText(std::string& out, const TField& field, bool comma_separated,
                      std::string_view text, char pad_character) {
  if (comma_separated || field.Width <= 0) {
    out += text;
  } else {
    out += field.RightAligned ? PadRightAligned(text, field.Width, pad_character)
                              : PadLeftAligned(text, field.Width, pad_character);
  }
}

void AppendAttributeValue(std::string& out, std::string_view text, int32_t decimals,
                          char decimal_separator) {
  double x;
  if (!ParseReal(text, &x)) {
    out += text;
    return;
  }
  const size_t start = out.size();
  if (std::fabs(x - std::round(x)) < 0.00001) {
    AppendDecimals(out, 0, x, {});
    return;
  }
  AppendDecimals(out, Decimals(decimals), x, {});
  for (size_t i = start; i < out.size(); ++i) {
    if (out[i] == '.') out[i] = decimal_separator;
  }
  if (decimals < 0) RemoveAll(out, decimal_separator, start);
}

namespace {

void AppendKnownToken(std::string& out, ExportToken kind, const TField& field,
                      bool comma_separated, char pad_character, const DCPointValues& point,
                      const std::vector<std::string_view>& attributes,
                      const ExportContext& context) {
  auto number = [&](double x, std::string_view source = {}) {
    AppendExportNumber(out, field, comma_separated, x, source, pad_character,
                       context.decimal_separator);
  };
  switch (kind) {
    case ExportToken::kName:
      AppendExportText(out, field, comma_separated, point.name, pad_character);
      return;
    case ExportToken::kCode:
      AppendExportText(out, field, comma_separated, point.code, pad_character);
      return;
    case ExportToken::kNorthing:
      return number(point.northing, point.northing_text);
    case ExportToken::kEasting:
      return number(point.easting, point.easting_text);
    case ExportToken::kElevation:
      return number(point.elevation, point.elevation_text);
    case ExportToken::kHzPrecision:
      return number(point.hz_precision);
    case ExportToken::kVtPrecision:
      return number(point.vt_precision);
    case ExportToken::kPdop:
      return number(point.pdop);
    case ExportToken::kSatellites:
      return number(static_cast<double>(point.satellites));
    case ExportToken::kSpace:
      out.append(static_cast<size_t>(FieldWidth(field.Width)), ' ');
      return;
    case ExportToken::kText:
      if (comma_separated) {
        out += field.Literal;
      } else if (FieldWidth(field.Width) != 0) {
        out += field.RightAligned ? PadRightAligned(field.Literal, field.Width, ' ')
                                  : PadLeftAligned(field.Literal, field.Width, ' ');
      }
      return;
    case ExportToken::kNewline:
      out += "\r\n";
      return;
    case ExportToken::kAllAttributes:
      if (!comma_separated) return;
      for (size_t i = 0; i < attributes.size(); ++i) {
        if (i > 0) out += ',';
        out += AttributeName(attributes[i]);
        out += ',';
        AppendAttributeValue(out, AttributeValue(attributes[i]), field.Decimals,
                             context.decimal_separator);
      }
      return;
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
      return;
  }
}

}  // namespace

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
                     const std::vector<std::string_view>& attributes,
                     const ExportContext& context) {
  const bool comma = definition.CommaSeparated;
  const char pad = definition.PadCharacter;
  auto value = [&](const TField& field, std::string_view text) {
    if (field.Numeric) {
      AppendExportNumber(line, field, comma, NumberOrZero(text), {}, pad,
                         context.decimal_separator);
    } else {
      AppendExportText(line, field, comma, text, pad);
    }
  };
  for (int i = 0; i < definition.Fields.Count(); ++i) {
    const TField& field = definition.Fields[i];
    const ExportToken kind = kinds[static_cast<size_t>(i)];
    // A TEXT field is joined to the value after it without a comma.
    if (comma && i > 0 && kinds[static_cast<size_t>(i) - 1] != ExportToken::kText) {
      line += ',';
    }
    if (kind != ExportToken::kAttribute) {
      AppendKnownToken(line, kind, field, comma, pad, point, attributes, context);
      continue;
    }
    bool matched = false;
    for (std::string_view attribute : attributes) {
      if (!text::EqualsIgnoreCase(AttributeName(attribute), field.Token)) continue;
      matched = true;
      value(field, AttributeValue(attribute));
    }
    if (matched) continue;
    if (!field.Literal.empty()) {
      value(field, field.Literal);
    } else if (comma) {
      line += ' ';
    } else {
      line.append(static_cast<size_t>(FieldWidth(field.Width)), ' ');
    }
  }
}

platform::Expected<ExportLines> BuildExportLines(const TFormatDefinition& definition,
                                                 std::string_view dc_text,
                                                 const TTICPointhandler* points,
                                                 const ExportContext& context) {
  DCPointReader reader(dc_text, points);
  if (reader.empty()) return platform::Error("List index out of bounds (0)");
  ExportLines result;
  // A point line is mostly shorter than its record, so the DC file's size
  // is room enough for the text in nearly every case (pages never written
  // stay unused).
  size_t characters = dc_text.size();
  for (const std::string& header : definition.HeaderLines) characters += header.size() + 2;
  for (const std::string& footer : definition.FooterLines) characters += footer.size() + 2;
  result.lines.reserve(characters);
  for (const std::string& header : definition.HeaderLines) result.lines.push_back(header);
  const std::vector<ExportToken> kinds = FieldKinds(definition);
  DCPointValues point;
  std::vector<std::string_view> attributes;
  while (reader.Next(&point, &attributes)) {
    result.lines.AppendBuilt([&](std::string& text) {
      AppendPointLine(text, definition, kinds, point, attributes, context);
    });
  }
  result.measured_without_coordinates = reader.measured_without_coordinates();
  for (const std::string& footer : definition.FooterLines) result.lines.push_back(footer);
  return result;
}

}  // namespace pelixo
