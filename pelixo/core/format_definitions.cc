#include "pelixo/core/format_definitions.h"

#include <utility>

#include "pelixo/core/text.h"
#include "text/ascii.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace pelixo {
namespace {

// One "key=value" entry of a section as the profile functions return it.
struct Entry {
  std::string text;   // key, "=", value
  std::string value;  // the text after the first "="
};

// An entry belongs to a keyword when its whole text, trimmed and upper-cased,
// begins with the keyword (so NAMES= counts as NAME, FIELD7= as FIELD).
bool BelongsTo(const Entry& entry, std::string_view keyword) {
  return text::StartsWithIgnoreCase(text::Trim(entry.text), keyword);
}

const Entry* FirstOf(const std::vector<Entry>& entries, std::string_view keyword) {
  for (const Entry& entry : entries) {
    if (BelongsTo(entry, keyword)) return &entry;
  }
  return nullptr;
}

std::string TrimmedValueOr(const std::vector<Entry>& entries,
                           std::string_view keyword, const std::string& fallback) {
  const Entry* entry = FirstOf(entries, keyword);
  return entry ? std::string(text::Trim(entry->value)) : fallback;
}

// Takes the text up to the next comma; false when there is no comma.
bool TakeItem(std::string_view* rest, std::string_view* item) {
  size_t comma = rest->find(',');
  if (comma == std::string_view::npos) return false;
  *item = rest->substr(0, comma);
  *rest = rest->substr(comma + 1);
  return true;
}

std::unique_ptr<TFormatDefinition> MakeDefinition(const std::string& section,
                                                  const std::vector<Entry>& entries) {
  auto definition = std::make_unique<TFormatDefinition>(section);
  definition->CommaSeparated =
      text::UpperAscii(text::Trim(TrimmedValueOr(entries, "STYLE", ""))) == "COMMA";
  definition->Extension = TrimmedValueOr(entries, "EXTENSION", "txt");
  definition->Description = TrimmedValueOr(entries, "DESCRIPTION", section);
  definition->Upload = text::StartsWithIgnoreCase(TrimmedValueOr(entries, "DIRECTION", ""),
                                            "UPLOAD");
  definition->Name = TrimmedValueOr(entries, "NAME", section);
  definition->ExternalProgram = TrimmedValueOr(entries, "EXTERNALPROGRAM", "");
  if (const Entry* pad = FirstOf(entries, "PADCHARACTER"); pad && !pad->value.empty()) {
    definition->PadCharacter = pad->value[0];
  }
  for (const Entry& entry : entries) {
    if (BelongsTo(entry, "FIELD")) {
      if (std::optional<TField> field = ParseFieldValue(entry.value)) {
        definition->Fields.Add(std::make_unique<TField>(std::move(*field)));
      }
    }
    if (BelongsTo(entry, "HEADER")) definition->HeaderLines.push_back(entry.value);
    if (BelongsTo(entry, "FOOTER")) definition->FooterLines.push_back(entry.value);
  }
  return definition;
}

}  // namespace

std::optional<TField> ParseFieldValue(std::string_view value) {
  std::string_view rest = value;
  std::string_view token, type, width, decimals;
  if (!TakeItem(&rest, &token) || !TakeItem(&rest, &type) ||
      !TakeItem(&rest, &width) || !TakeItem(&rest, &decimals)) {
    return std::nullopt;
  }
  TField field;
  if (!ParseInteger(text::Trim(width), &field.Width) ||
      !ParseInteger(text::Trim(decimals), &field.Decimals)) {
    return std::nullopt;
  }
  field.Token = std::string(text::Trim(token));
  field.Numeric = !text::EqualsIgnoreCase(text::Trim(type), "STRING");
  std::string_view alignment = rest;
  std::string_view literal;
  bool has_literal = false;
  if (size_t comma = rest.find(','); comma != std::string_view::npos) {
    alignment = rest.substr(0, comma);
    literal = text::Trim(rest.substr(comma + 1));
    has_literal = true;
  }
  field.RightAligned = !text::EqualsIgnoreCase(text::Trim(alignment), "LEFT");
  if (has_literal) {
    if (!literal.empty() && literal.front() == '"') {
      literal.remove_prefix(1);
      if (!literal.empty() && literal.back() == '"') literal.remove_suffix(1);
    }
    field.Literal = std::string(literal);
  }
  return field;
}

bool TFormatDefinitions::Load(const std::string& ini_path) {
  // Read once; a folder, FIFO or device reads as a missing file.
  const platform::Profile ini = platform::Profile::Load(ini_path);
  std::vector<std::string> sections = ini.SectionNames();
  if (sections.empty()) return false;
  for (const std::string& section : sections) {
    std::vector<Entry> entries;
    for (const std::string& key : ini.KeyNames(section)) {
      std::string value = ini.String(section, key, "");
      entries.push_back(Entry{key + "=" + value, value});
    }
    if (entries.empty()) continue;
    Definitions.Add(MakeDefinition(section, entries));
  }
  return true;
}

std::string DefaultFormatsIniPath() {
  return platform::ExecutableDirectory() + "Formats.ini";
}

}  // namespace pelixo
