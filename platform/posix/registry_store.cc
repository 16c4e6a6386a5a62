#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/file_output.h"
#include "platform/files.h"

namespace platform::registry_store {
namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// The order in which the registry lists subkeys: letters compared as
// lower case, so "_Name" comes before "Name".
bool LessFolded(const std::string& a, const std::string& b) {
  auto lower = [](char c) {
    return static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  };
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [&](char x, char y) { return lower(x) < lower(y); });
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A quoted text with the escapes \\ and \" at the start of `s`; `s` is left
// after the closing quote. False when it does not close.
bool TakeQuoted(std::string_view& s, std::string& out) {
  if (s.empty() || s.front() != '"') return false;
  size_t i = 1;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') break;
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out += s[++i];
    } else {
      out += c;
    }
  }
  if (i >= s.size()) return false;
  s.remove_prefix(i + 1);
  return true;
}

bool ParseHexList(std::string_view s, std::vector<uint8_t>& out) {
  s = TrimBlanks(s);
  while (!s.empty()) {
    size_t comma = s.find(',');
    std::string_view item = TrimBlanks(s.substr(0, comma));
    if (item.empty() || item.size() > 2) return false;
    int value = 0;
    for (char c : item) {
      int d = HexDigit(c);
      if (d < 0) return false;
      value = value * 16 + d;
    }
    out.push_back(static_cast<uint8_t>(value));
    if (comma == std::string_view::npos) break;
    s.remove_prefix(comma + 1);
    s = TrimBlanks(s);
    if (s.empty()) return false;  // a list ending in a comma
  }
  return true;
}

// The data after "=" of a value line; false when it is not readable.
// `deleted` is set for the deletion form "-".
bool ParseData(std::string_view s, RegistryValue& value, bool& deleted) {
  s = TrimBlanks(s);
  deleted = false;
  if (s == "-") {
    deleted = true;
    return true;
  }
  if (!s.empty() && s.front() == '"') {
    std::string text;
    if (!TakeQuoted(s, text) || !TrimBlanks(s).empty()) return false;
    value.type = RegistryType::kString;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return true;
  }
  if (s.substr(0, 6) == "dword:") {
    std::string_view digits = s.substr(6);
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t n = 0;
    for (char c : digits) {
      int d = HexDigit(c);
      if (d < 0) return false;
      n = n * 16 + uint32_t(d);
    }
    value.type = RegistryType::kDword;
    value.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    return true;
  }
  if (s.substr(0, 4) == "hex:") {
    value.type = RegistryType::kBinary;
    return ParseHexList(s.substr(4), value.data);
  }
  if (s.substr(0, 4) == "hex(") {
    size_t close = s.find("):");
    if (close == std::string_view::npos || close == 4 || close > 12) return false;
    uint32_t type = 0;
    for (char c : s.substr(4, close - 4)) {
      int d = HexDigit(c);
      if (d < 0) return false;
      type = type * 16 + uint32_t(d);
    }
    value.type = static_cast<RegistryType>(type);
    return ParseHexList(s.substr(close + 2), value.data);
  }
  return false;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// A string value that the quoted form keeps exactly: one final NUL and no
// other NUL or line end.
bool PlainString(const RegistryValue& value) {
  if (value.type != RegistryType::kString || value.data.empty() ||
      value.data.back() != 0) {
    return false;
  }
  for (size_t i = 0; i + 1 < value.data.size(); ++i) {
    uint8_t c = value.data[i];
    if (c == 0 || c == '\r' || c == '\n') return false;
  }
  return true;
}

void AppendValue(std::string& out, const std::string& name,
                 const RegistryValue& value) {
  out += name.empty() ? std::string("@") : Quote(name);
  out += '=';
  if (PlainString(value)) {
    out += Quote(std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                  value.data.size() - 1));
  } else if (value.type == RegistryType::kDword && value.data.size() == 4) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x",
                  unsigned(value.data[0]) | unsigned(value.data[1]) << 8 |
                      unsigned(value.data[2]) << 16 | unsigned(value.data[3]) << 24);
    out += digits;
  } else {
    char head[24];
    if (value.type == RegistryType::kBinary) {
      std::snprintf(head, sizeof head, "hex:");
    } else {
      std::snprintf(head, sizeof head, "hex(%x):", unsigned(value.type));
    }
    out += head;
    for (size_t i = 0; i < value.data.size(); ++i) {
      char byte[4];
      std::snprintf(byte, sizeof byte, "%02x", unsigned(value.data[i]));
      if (i > 0) out += (i % 25 == 0) ? ",\\\n  " : ",";
      out += byte;
    }
  }
  out += '\n';
}

// Takes the lock of the store for the life of the object.
class StoreLock {
 public:
  explicit StoreLock(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ >= 0) {
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

bool IsWithin(std::string_view path, std::string_view ancestor) {
  if (path.size() < ancestor.size()) return false;
  if (!SameName(path.substr(0, ancestor.size()), ancestor)) return false;
  return path.size() == ancestor.size() || path[ancestor.size()] == '\\';
}

StoreKey* Store::Find(std::string_view path) {
  for (StoreKey& key : keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

const StoreKey* Store::Find(std::string_view path) const {
  for (const StoreKey& key : keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

bool Store::Exists(std::string_view path) const {
  for (const StoreKey& key : keys) {
    if (IsWithin(key.path, path)) return true;
  }
  return false;
}

StoreKey& Store::Create(std::string_view path) {
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') {
      std::string_view prefix = path.substr(0, i);
      if (prefix.find('\\') != std::string_view::npos && Find(prefix) == nullptr) {
        keys.push_back(StoreKey{std::string(prefix), {}});
      }
    }
  }
  if (StoreKey* key = Find(path)) return *key;
  keys.push_back(StoreKey{std::string(path), {}});  // a root of its own
  return keys.back();
}

std::vector<std::string> Store::Subkeys(std::string_view path) const {
  std::vector<std::string> names;
  for (const StoreKey& key : keys) {
    if (!IsWithin(key.path, path) || key.path.size() == path.size()) continue;
    std::string_view rest = std::string_view(key.path).substr(path.size() + 1);
    std::string name(rest.substr(0, rest.find('\\')));
    if (name.empty()) continue;
    bool known = false;
    for (const std::string& n : names) known = known || SameName(n, name);
    if (!known) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), LessFolded);
  return names;
}

bool Store::RemoveTree(std::string_view path) {
  size_t before = keys.size();
  std::string ancestor(path);
  keys.erase(std::remove_if(keys.begin(), keys.end(),
                            [&](const StoreKey& key) {
                              return IsWithin(key.path, ancestor);
                            }),
             keys.end());
  return keys.size() != before;
}

Expected<Store> ParseStore(std::string_view text, const std::string& file) {
  Store store;
  StoreKey* current = nullptr;
  bool skipping = false;  // inside a "[-...]" deletion section
  bool seen_header = false;
  size_t line_number = 0;
  auto fail = [&](const char* why) {
    return Error("Registry store " + file + " line " +
                 std::to_string(line_number) + ": " + why);
  };
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string line(TrimBlanks(text.substr(0, end)));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    size_t first_line = line_number;
    // Hex lists go on over lines that end in a backslash.
    while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
           !text.empty()) {
      line.pop_back();
      size_t next = text.find('\n');
      line += TrimBlanks(text.substr(0, next));
      text.remove_prefix(next == std::string_view::npos ? text.size() : next + 1);
      ++line_number;
    }
    std::string_view s = line;
    if (s.empty() || s.front() == ';') continue;
    if (!seen_header) {
      if (s != "REGEDIT4" && s != "Windows Registry Editor Version 5.00") {
        line_number = first_line;
        return fail("not a registry export (REGEDIT4 expected)");
      }
      seen_header = true;
      continue;
    }
    if (s.front() == '[') {
      if (s.back() != ']' || s.size() < 3) {
        line_number = first_line;
        return fail("unreadable key line");
      }
      std::string_view path = s.substr(1, s.size() - 2);
      skipping = path.front() == '-';
      current = skipping ? nullptr : &store.Create(path);
      continue;
    }
    if (skipping) continue;
    std::string name;
    if (s.front() == '@') {
      s.remove_prefix(1);
    } else if (!TakeQuoted(s, name)) {
      line_number = first_line;
      return fail("unreadable value name");
    }
    s = TrimBlanks(s);
    RegistryValue value;
    bool deleted = false;
    if (s.empty() || s.front() != '=' || !ParseData(s.substr(1), value, deleted)) {
      line_number = first_line;
      return fail("unreadable value");
    }
    if (current == nullptr) {
      line_number = first_line;
      return fail("value outside of a key");
    }
    auto& values = current->values;
    auto same = std::find_if(values.begin(), values.end(), [&](const auto& v) {
      return SameName(v.first, name);
    });
    if (deleted) {
      if (same != values.end()) values.erase(same);
    } else if (same != values.end()) {
      same->second = std::move(value);
    } else {
      values.emplace_back(std::move(name), std::move(value));
    }
  }
  return store;
}

std::string FormatStore(const Store& store) {
  std::string out = "REGEDIT4\n";
  for (const StoreKey& key : store.keys) {
    out += "\n[" + key.path + "]\n";
    for (const auto& [name, value] : key.values) AppendValue(out, name, value);
  }
  return out;
}

std::string StorePath() {
  std::string path = backend::GetEnv("PELIXO_REGISTRY");
  if (!path.empty()) return path;
  std::string home = backend::GetEnv("HOME");
  if (home.empty()) home = ".";
  return home + "/.config/pelixo/registry.reg";
}

Expected<Store> LoadStore() {
  std::string path = StorePath();
  if (!FileExists(path)) return Store();
  Expected<std::string> text = ReadWholeFile(path);
  if (!text) return text.error();
  return ParseStore(*text, path);
}

Status UpdateStore(const std::function<Status(Store&)>& change) {
  std::string path = StorePath();
  size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    Status made = MakeDirectories(path.substr(0, slash));
    if (!made) return made;
  }
  StoreLock lock(path + ".lock");
  if (!lock.ok()) {
    return Error("Cannot lock the registry store " + path + ": " +
                 std::strerror(errno));
  }
  Expected<Store> store = LoadStore();
  if (!store) return store.error();
  Status changed = change(*store);
  if (!changed) return changed;
  return WriteWholeFile(path, FormatStore(*store));
}

}  // namespace platform::registry_store
