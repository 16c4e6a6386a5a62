// The format definitions of Formats.ini: how one kind of ASCII coordinate
// file is laid out, for reading (upload) or writing (download).
#ifndef PELIXO_CORE_FORMAT_DEFINITIONS_H_
#define PELIXO_CORE_FORMAT_DEFINITIONS_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelixo {

// One field of a point line.
struct TField {
  std::string Token;         // as written; compared without regard to case
  bool Numeric = false;      // every type but STRING
  int32_t Width = 0;         // 0: no fixed width
  int32_t Decimals = 0;      // -d: no separator written, d implied decimals
  bool RightAligned = true;  // false only for LEFT
  std::string Literal;       // text of TEXT, default or prefix of the others
};

// The fields of a definition, and the definitions of a file: each item is
// owned by the list and stays where it is while the list grows.
template <typename T>
class TOwningList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  T& operator[](int index) { return *items_[index]; }
  const T& operator[](int index) const { return *items_[index]; }
  void Add(std::unique_ptr<T> item) { items_.push_back(std::move(item)); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

using TFieldList = TOwningList<TField>;

// One section of Formats.ini.
class TFormatDefinition {
 public:
  explicit TFormatDefinition(std::string section) : Section(std::move(section)) {}

  std::string Section;
  std::string Name;
  bool CommaSeparated = false;
  std::string Extension;
  std::string Description;
  bool Upload = false;
  std::string ExternalProgram;
  char PadCharacter = ' ';
  TFieldList Fields;
  std::vector<std::string> HeaderLines;
  std::vector<std::string> FooterLines;
};

using TFormatDefnList = TOwningList<TFormatDefinition>;

class TFormatDefinitions {
 public:
  // Reads the definitions from `ini_path` (the program's own Formats.ini
  // unless a caller names another file). False when the file yields no
  // section at all; true otherwise, even when no section made a definition.
  bool Load(const std::string& ini_path);
  int Count() const { return Definitions.Count(); }
  TFormatDefinition& operator[](int index) { return Definitions[index]; }
  const TFormatDefinition& operator[](int index) const { return Definitions[index]; }

  TFormatDefnList Definitions;
};

// The path of Formats.ini beside the program.
std::string DefaultFormatsIniPath();

// Parses one FIELD value; nothing when the entry is to be skipped.
std::optional<TField> ParseFieldValue(std::string_view value);

}  // namespace pelixo

#endif  // PELIXO_CORE_FORMAT_DEFINITIONS_H_
