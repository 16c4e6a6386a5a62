// Our own reader of INI files, giving what the Windows profile functions give
// for the same bytes. The file is parsed once; sections and keys are found
// by hashing their names, so that a file of many keys loads in linear time.
#include "platform/profile.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/backend.h"
#include "platform/files.h"
#include "text/ascii.h"

namespace platform {
namespace {

struct Entry {
  std::string_view name;
  std::string_view value;
};

// Names hashed and compared as the profile functions match them: the
// letters a to z without regard to case.
struct FoldedHash {
  size_t operator()(std::string_view name) const {
    return static_cast<size_t>(text::HashIgnoreCase(name));
  }
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return text::EqualsIgnoreCase(a, b);
  }
};
// Name -> position of its first appearance.
using NameIndex =
    std::unordered_map<std::string_view, size_t, FoldedHash, FoldedEqual>;

struct Section {
  std::string_view name;
  std::vector<Entry> entries;
  NameIndex first_entry;
};

// Blanks in the sense of the profile functions: the C white space and the
// end-of-file mark 0x1A.
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A NUL byte ends a name or a value, as it ends the strings the profile
// functions copy.
std::string_view CutAtNul(std::string_view text) {
  size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// Fills a name list the way the profile functions fill their buffer: each
// name and its NUL must fit beside the final NUL; the first name that does
// not fit is cut to what does, and ends the list.
void AppendCut(std::vector<std::string>& list, std::string_view name,
               size_t& room, bool& full) {
  if (full || name.empty()) return;
  if (name.size() + 1 <= room) {
    list.emplace_back(name);
    room -= name.size() + 1;
    return;
  }
  if (room > 1) list.emplace_back(name.substr(0, room - 1));
  full = true;
}

std::string CopyValue(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kProfileValueBytes - 1));
}

// Leading blanks, a sign, then digits of the base its prefix gives ("0x",
// "0o", "0b"; decimal otherwise) up to the first other character; the
// number wraps at 32 bits like the unsigned result of the system call.
int ParseProfileInt(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
    s.remove_prefix(1);
  }
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  unsigned base = 10;
  if (s.size() >= 2 && s[0] == '0') {
    char prefix = s[1];
    if (prefix == 'x' || prefix == 'X') base = 16;
    if (prefix == 'o' || prefix == 'O') base = 8;
    if (prefix == 'b' || prefix == 'B') base = 2;
    if (base != 10) s.remove_prefix(2);
  }
  uint32_t value = 0;
  for (char c : s) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = unsigned(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = unsigned(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = unsigned(c - 'A' + 10);
    } else {
      break;
    }
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

}  // namespace

// The parsed file; views into `bytes_`, which it owns and never moves.
class Profile::Impl {
 public:
  explicit Impl(const std::string& path) {
    Expected<std::string> content = ReadWholeFile(path);
    if (!content) return;
    bytes_ = std::move(*content);
    Parse();
  }

  const std::vector<Section>& sections() const { return sections_; }

  // The first section of that name: the profile functions never look past it.
  const Section* Find(std::string_view name) const {
    auto found = first_section_.find(Trim(name));
    return found == first_section_.end() ? nullptr : &sections_[found->second];
  }

  const Entry* FindEntry(std::string_view section, std::string_view key) const {
    const Section* found = Find(section);
    if (found == nullptr) return nullptr;
    auto entry = found->first_entry.find(Trim(key));
    return entry == found->first_entry.end() ? nullptr
                                             : &found->entries[entry->second];
  }

 private:
  void Parse() {
    std::string_view rest = bytes_;
    Section* current = nullptr;
    while (!rest.empty()) {
      size_t end = rest.find_first_of("\r\n");
      std::string_view line = rest.substr(0, end);
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
      line = Trim(line);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        size_t close = line.rfind(']');
        if (close != std::string_view::npos) {
          std::string_view name = Trim(CutAtNul(line.substr(1, close - 1)));
          first_section_.try_emplace(name, sections_.size());
          sections_.push_back(Section{name, {}, {}});
          current = &sections_.back();
          continue;
        }
        // Without its bracket the line is read as an ordinary line.
      }
      if (current == nullptr) continue;  // lines before the first section
      size_t equals = line.find('=');
      if (equals == std::string_view::npos) continue;  // no value, no key
      std::string_view name = Trim(CutAtNul(line.substr(0, equals)));
      std::string_view value = Trim(CutAtNul(line.substr(equals + 1)));
      current->first_entry.try_emplace(name, current->entries.size());
      current->entries.push_back(Entry{name, value});
    }
  }

  std::string bytes_;
  std::vector<Section> sections_;  // `current` is taken after each push_back
  NameIndex first_section_;
};

Profile Profile::Load(const std::string& path) {
  return Profile(MakeImpl<Impl>(path));
}

std::vector<std::string> Profile::SectionNames() const {
  std::vector<std::string> names;
  size_t room = kProfileNameListBytes - 1;
  bool full = false;
  for (const Section& section : impl_->sections()) {
    AppendCut(names, section.name, room, full);
    if (full) break;
  }
  return names;
}

std::vector<std::string> Profile::KeyNames(const std::string& section) const {
  std::vector<std::string> names;
  const Section* found = impl_->Find(section);
  if (found == nullptr) return names;
  size_t room = kProfileNameListBytes - 1;
  bool full = false;
  for (const Entry& entry : found->entries) {
    AppendCut(names, entry.name, room, full);
    if (full) break;
  }
  return names;
}

std::string Profile::String(const std::string& section, const std::string& key,
                            const std::string& default_value) const {
  if (const Entry* entry = impl_->FindEntry(section, key)) {
    return CopyValue(entry->value);
  }
  return backend::ProfileDefault(default_value);
}

int Profile::Int(const std::string& section, const std::string& key,
                 int default_value) const {
  std::string text = String(section, key, "");
  if (text.empty()) return default_value;
  return ParseProfileInt(text);
}

}  // namespace platform
