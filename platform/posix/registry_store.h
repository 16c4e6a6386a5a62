// The registry of the posix build: a text file in the regedit export format
// ("REGEDIT4", [HKEY_CURRENT_USER\...] sections, "name"="text", dword:,
// hex: and hex(N): values) shared by every process of the system.
#ifndef PLATFORM_POSIX_REGISTRY_STORE_H_
#define PLATFORM_POSIX_REGISTRY_STORE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/registry.h"

namespace platform::registry_store {

// The deepest key the store takes, in names below the root.
inline constexpr size_t kMaxKeyDepth = 512;
inline constexpr char kKeyPathTooDeep[] = "Registry key path too deep";

struct StoreKey {
  std::string path;  // full path, "HKEY_CURRENT_USER\Software\..."
  std::vector<std::pair<std::string, RegistryValue>> values;  // in order
};

// The keys in file order, found by their full path through an index, so
// that a lookup costs the length of the path, not the size of the store.
class Store {
 public:
  const std::vector<StoreKey>& keys() const { return keys_; }

  StoreKey* Find(std::string_view path);
  const StoreKey* Find(std::string_view path) const;
  // True when the key is in the store or some key below it is.
  bool Exists(std::string_view path) const;
  // The key, created with every missing key above it.
  StoreKey& Create(std::string_view path);
  // The names of the keys right below `path`, sorted without regard to case.
  std::vector<std::string> Subkeys(std::string_view path) const;
  // Removes the key with everything below it; false when there was none.
  bool RemoveTree(std::string_view path);
  // Gives the key `from` and every key below it the path `to` instead,
  // creating the keys above `to`; `to` must not exist.
  void MoveTree(std::string_view from, std::string_view to);

 private:
  void Reindex();

  std::vector<StoreKey> keys_;  // in file order
  // The position in keys_ of each path, by the hash of the path folded (see
  // FoldedHash); a path met twice is found at its first section.
  std::unordered_multimap<uint64_t, size_t> index_;
};

// Names of keys and values compare without regard to case (letters a-z).
bool SameName(std::string_view a, std::string_view b);
// A hash of a name that is the same for names that are SameName.
uint64_t FoldedHash(std::string_view name, uint64_t seed = 14695981039346656037ull);
// True when `path` is `ancestor` or lies below it.
bool IsWithin(std::string_view path, std::string_view ancestor);
// The number of names below the root in a full key path.
size_t KeyDepth(std::string_view full_path);

// Parses the text of a store file; the error names `file` and the line.
Expected<Store> ParseStore(std::string_view text, const std::string& file);
std::string FormatStore(const Store& store);

// The store file: the one the store switch names, else the switches' path
// below the home folder.
std::string StorePath();
// The store as it is on disk now; a missing file is an empty store. The
// file is parsed again only when it has changed since it was last read.
Expected<std::shared_ptr<const Store>> LoadStore();
// Reads, changes and writes the store back under the store's lock, the new
// file replacing the old one in one step. `change` returns false (with its
// error) to leave the file as it was.
Status UpdateStore(const std::function<Status(Store&)>& change);

}  // namespace platform::registry_store

#endif  // PLATFORM_POSIX_REGISTRY_STORE_H_
