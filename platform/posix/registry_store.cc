#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_set>

#include "platform/backend.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/switches.h"
#include "text/ascii.h"
#include "text/format.h"

namespace platform::registry_store {
namespace {

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

// `digits` read as a hexadecimal number; false when one is no hex digit.
bool ParseHex(std::string_view digits, uint32_t& n) {
  const char* const end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, n, 16);
  return error == std::errc() && stop == end;
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
    uint32_t value;
    if (item.empty() || item.size() > 2 || !ParseHex(item, value)) return false;
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
    uint32_t n;
    if (digits.empty() || digits.size() > 8 || !ParseHex(digits, n)) return false;
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
    uint32_t type;
    if (!ParseHex(s.substr(4, close - 4), type)) return false;
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
    text::AppendFormat(&out, "dword:%08x",
                       unsigned(value.data[0]) | unsigned(value.data[1]) << 8 |
                           unsigned(value.data[2]) << 16 | unsigned(value.data[3]) << 24);
  } else {
    if (value.type == RegistryType::kBinary) {
      out += "hex:";
    } else {
      text::AppendFormat(&out, "hex(%x):", unsigned(value.type));
    }
    for (size_t i = 0; i < value.data.size(); ++i) {
      if (i > 0) out += (i % 25 == 0) ? ",\\\n  " : ",";
      text::AppendFormat(&out, "%02x", unsigned(value.data[i]));
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

bool IsWithin(std::string_view path, std::string_view ancestor) {
  if (path.size() < ancestor.size()) return false;
  if (!text::EqualsIgnoreCase(path.substr(0, ancestor.size()), ancestor)) return false;
  return path.size() == ancestor.size() || path[ancestor.size()] == '\\';
}

size_t KeyDepth(std::string_view full_path) {
  return static_cast<size_t>(std::count(full_path.begin(), full_path.end(), '\\'));
}

StoreKey* Store::Find(std::string_view path) {
  return const_cast<StoreKey*>(static_cast<const Store*>(this)->Find(path));
}

const StoreKey* Store::Find(std::string_view path) const {
  auto [begin, end] = index_.equal_range(text::HashIgnoreCase(path));
  for (auto it = begin; it != end; ++it) {
    if (text::EqualsIgnoreCase(keys_[it->second].path, path)) return &keys_[it->second];
  }
  return nullptr;
}

bool Store::Exists(std::string_view path) const {
  if (Find(path) != nullptr) return true;
  // Every key above a stored key is stored too, but for the root itself.
  if (path.find('\\') != std::string_view::npos) return false;
  for (const StoreKey& key : keys_) {
    if (IsWithin(key.path, path)) return true;
  }
  return false;
}

StoreKey& Store::Create(std::string_view path) {
  if (StoreKey* key = Find(path)) return *key;
  // The deepest key above it that is stored already; the missing ones
  // below it are added top down. The root (before the first separator) is
  // no key of its own.
  const size_t root_end = path.find('\\');
  size_t stored_end = root_end;
  for (size_t end = path.rfind('\\'); end != std::string_view::npos && end > root_end;
       end = path.rfind('\\', end - 1)) {
    if (Find(path.substr(0, end)) != nullptr) {
      stored_end = end;
      break;
    }
  }
  for (size_t i = stored_end == std::string_view::npos ? path.size() : stored_end + 1;
       i < path.size(); ++i) {
    if (path[i] != '\\') continue;
    std::string_view prefix = path.substr(0, i);
    if (Find(prefix) != nullptr) continue;
    index_.emplace(text::HashIgnoreCase(prefix), keys_.size());
    keys_.push_back(StoreKey{std::string(prefix), {}});
  }
  index_.emplace(text::HashIgnoreCase(path), keys_.size());
  keys_.push_back(StoreKey{std::string(path), {}});  // perhaps a root of its own
  return keys_.back();
}

std::vector<std::string> Store::Subkeys(std::string_view path) const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;  // folded
  for (const StoreKey& key : keys_) {
    if (!IsWithin(key.path, path) || key.path.size() == path.size()) continue;
    std::string_view rest = std::string_view(key.path).substr(path.size() + 1);
    std::string_view name = rest.substr(0, rest.find('\\'));
    if (name.empty()) continue;
    if (seen.insert(text::UpperAscii(name)).second) names.emplace_back(name);
  }
  std::sort(names.begin(), names.end(), LessFolded);
  return names;
}

bool Store::RemoveTree(std::string_view path) {
  size_t before = keys_.size();
  keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                             [&](const StoreKey& key) { return IsWithin(key.path, path); }),
              keys_.end());
  if (keys_.size() == before) return false;
  Reindex();
  return true;
}

void Store::MoveTree(std::string_view from, std::string_view to) {
  const std::string source(from), target(to);
  Create(target);  // with every key above it
  for (StoreKey& key : keys_) {
    if (IsWithin(key.path, source)) key.path = target + key.path.substr(source.size());
  }
  // The target's own section was created empty; the moved one replaces it.
  std::vector<size_t> sections;
  for (size_t i = 0; i < keys_.size(); ++i) {
    if (text::EqualsIgnoreCase(keys_[i].path, target)) sections.push_back(i);
  }
  for (size_t n = 0; n + 1 < sections.size(); ++n) {
    if (keys_[sections[n]].values.empty()) {
      keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(sections[n]));
      break;
    }
  }
  Reindex();
}

void Store::Reindex() {
  index_.clear();
  index_.reserve(keys_.size());
  for (size_t i = 0; i < keys_.size(); ++i) {
    if (Find(keys_[i].path) == nullptr) index_.emplace(text::HashIgnoreCase(keys_[i].path), i);
  }
}

Expected<Store> ParseStore(std::string_view text, const std::string& file) {
  Store store;
  StoreKey* current = nullptr;
  // The values of each key by the hash of the key's position and the
  // value's name, and the values a "-" line deleted, dropped at the end so
  // that the positions stay valid while the file is read.
  std::unordered_multimap<uint64_t, size_t> value_index;
  std::unordered_map<size_t, std::vector<bool>> deleted_values;
  uint64_t current_seed = 0;
  std::string joined;  // a value given over several lines
  bool skipping = false;  // inside a "[-...]" deletion section
  bool seen_header = false;
  size_t line_number = 0;
  size_t first_line = 0;  // where the value joined over lines starts
  auto fail = [&](const char* why) {
    return Error("Registry store " + file + " line " +
                 std::to_string(first_line) + ": " + why);
  };
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view s = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    first_line = line_number;
    // Hex lists go on over lines that end in a backslash.
    if (!s.empty() && s.back() == '\\' && !text.empty() &&
        s.find("=hex") != std::string_view::npos) {
      joined.assign(s);
      while (!joined.empty() && joined.back() == '\\' && !text.empty()) {
        joined.pop_back();
        size_t next = text.find('\n');
        joined += TrimBlanks(text.substr(0, next));
        text.remove_prefix(next == std::string_view::npos ? text.size() : next + 1);
        ++line_number;
      }
      s = joined;
    }
    if (s.empty() || s.front() == ';') continue;
    if (!seen_header) {
      if (s != "REGEDIT4" && s != "Windows Registry Editor Version 5.00") {
        return fail("not a registry export (REGEDIT4 expected)");
      }
      seen_header = true;
      continue;
    }
    if (s.front() == '[') {
      if (s.back() != ']' || s.size() < 3) return fail("unreadable key line");
      std::string_view path = s.substr(1, s.size() - 2);
      skipping = path.front() == '-';
      if (skipping) {
        current = nullptr;
        continue;
      }
      if (KeyDepth(path) > kMaxKeyDepth) return fail(kKeyPathTooDeep);
      current = &store.Create(path);
      current_seed = text::HashIgnoreCase(std::to_string(current - store.keys().data()) + '\\');
      continue;
    }
    if (skipping) continue;
    std::string name;
    if (s.front() == '@') {
      s.remove_prefix(1);
    } else if (!TakeQuoted(s, name)) {
      return fail("unreadable value name");
    }
    s = TrimBlanks(s);
    RegistryValue value;
    bool deleted = false;
    if (s.empty() || s.front() != '=' || !ParseData(s.substr(1), value, deleted)) {
      return fail("unreadable value");
    }
    if (current == nullptr) return fail("value outside of a key");
    auto& values = current->values;
    const uint64_t hash = text::HashIgnoreCase(name, current_seed);
    auto same = value_index.end();
    for (auto [it, end] = value_index.equal_range(hash); it != end; ++it) {
      if (text::EqualsIgnoreCase(values[it->second].first, name)) {
        same = it;
        break;
      }
    }
    if (deleted) {
      if (same != value_index.end()) {
        size_t key_position = static_cast<size_t>(current - store.keys().data());
        std::vector<bool>& dead = deleted_values[key_position];
        dead.resize(values.size());
        dead[same->second] = true;
        value_index.erase(same);
      }
    } else if (same != value_index.end()) {
      values[same->second].second = std::move(value);
    } else {
      value_index.emplace(hash, values.size());
      values.emplace_back(std::move(name), std::move(value));
    }
  }
  for (auto& [key_position, dead] : deleted_values) {
    auto& values = store.Find(store.keys()[key_position].path)->values;
    size_t kept = 0;
    for (size_t i = 0; i < values.size(); ++i) {
      if (i < dead.size() && dead[i]) continue;
      if (kept != i) values[kept] = std::move(values[i]);
      ++kept;
    }
    values.resize(kept);
  }
  return store;
}

std::string FormatStore(const Store& store) {
  std::string out = "REGEDIT4\n";
  for (const StoreKey& key : store.keys()) {
    out += "\n[" + key.path + "]\n";
    for (const auto& [name, value] : key.values) AppendValue(out, name, value);
  }
  return out;
}

std::string StorePath() {
  const Switches& switches = CurrentSwitches();
  std::string path = SwitchValue(switches.store_variable);
  if (!path.empty()) return path;
  std::string home = backend::GetEnv("HOME");
  if (home.empty()) home = ".";
  return home + switches.store_in_home;
}

namespace {

// What tells one state of the store file from another: a replaced file is a
// new inode, a changed one has a new size or modification time.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  bool operator==(const FileStamp& o) const {
    return device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
  }
};

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// The store as this process last read or wrote it, kept while the file
// stays as it was then: the one process-wide copy of the store.
class StoreCache {
 public:
  std::shared_ptr<const Store> Get(const std::string& path, const FileStamp& stamp) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (store_ && path == path_ && stamp == stamp_) return store_;
    return nullptr;
  }
  void Put(const std::string& path, const FileStamp& stamp,
           std::shared_ptr<const Store> store) {
    std::lock_guard<std::mutex> lock(mutex_);
    path_ = path;
    stamp_ = stamp;
    store_ = std::move(store);
  }

 private:
  std::mutex mutex_;
  std::string path_;
  FileStamp stamp_;
  std::shared_ptr<const Store> store_;
};

StoreCache& TheStoreCache() {
  static StoreCache cache;
  return cache;
}

// The store file parsed as it is now.
Expected<Store> ReadStore(const std::string& path) {
  Expected<std::string> text = ReadWholeFile(path);
  if (!text) return text.error();
  return ParseStore(*text, path);
}

}  // namespace

Expected<std::shared_ptr<const Store>> LoadStore() {
  std::string path = StorePath();
  if (!FileExists(path)) return std::make_shared<const Store>();
  std::optional<FileStamp> before = StampOf(path);
  if (before) {
    if (std::shared_ptr<const Store> store = TheStoreCache().Get(path, *before)) {
      return store;
    }
  }
  Expected<Store> parsed = ReadStore(path);
  if (!parsed) return parsed.error();
  auto store = std::make_shared<const Store>(std::move(*parsed));
  // Kept only when the file did not change while it was read.
  if (before && StampOf(path) == before) TheStoreCache().Put(path, *before, store);
  return store;
}

Status UpdateStore(const std::function<Status(Store&)>& change) {
  std::string path = StorePath();
  if (const size_t name_start = FileNameStart(path); name_start > 1) {
    Status made = MakeDirectories(path.substr(0, name_start - 1));
    if (!made) return made;
  }
  StoreLock lock(path + ".lock");
  if (!lock.ok()) {
    return Error("Cannot lock the registry store " + path + ": " +
                 std::strerror(errno));
  }
  // The change starts from the store as the file holds it now: the copy
  // this process keeps when the file is unchanged, else the file parsed.
  Store store;
  std::optional<FileStamp> stamp = FileExists(path) ? StampOf(path) : std::nullopt;
  std::shared_ptr<const Store> cached = stamp ? TheStoreCache().Get(path, *stamp) : nullptr;
  if (cached) {
    store = *cached;
  } else if (FileExists(path)) {
    Expected<Store> parsed = ReadStore(path);
    if (!parsed) return parsed.error();
    store = std::move(*parsed);
  }
  Status changed = change(store);
  if (!changed) return changed;
  Status written = WriteWholeFile(path, FormatStore(store));
  if (!written) return written;
  // No other writer can replace the file while the lock is held.
  if (std::optional<FileStamp> now = StampOf(path)) {
    TheStoreCache().Put(path, *now, std::make_shared<const Store>(std::move(store)));
  }
  return Status::Ok();
}

}  // namespace platform::registry_store
