// The registry of the posix build: a text file in the regedit export format
// ("REGEDIT4", [HKEY_CURRENT_USER\...] sections, "name"="text", dword:,
// hex: and hex(N): values) shared by every process of the system.
#ifndef PLATFORM_POSIX_REGISTRY_STORE_H_
#define PLATFORM_POSIX_REGISTRY_STORE_H_

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/registry.h"

namespace platform::registry_store {

struct StoreKey {
  std::string path;  // full path, "HKEY_CURRENT_USER\Software\..."
  std::vector<std::pair<std::string, RegistryValue>> values;  // in order
};

struct Store {
  std::vector<StoreKey> keys;  // in file order

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
};

// Names of keys and values compare without regard to case (letters a-z).
bool SameName(std::string_view a, std::string_view b);
// True when `path` is `ancestor` or lies below it.
bool IsWithin(std::string_view path, std::string_view ancestor);

// Parses the text of a store file; the error names `file` and the line.
Expected<Store> ParseStore(std::string_view text, const std::string& file);
std::string FormatStore(const Store& store);

// The store file: PELIXO_REGISTRY, or ~/.config/pelixo/registry.reg.
std::string StorePath();
// Reads the store as it is on disk now; a missing file is an empty store.
Expected<Store> LoadStore();
// Reads, changes and writes the store back under the store's lock, the new
// file replacing the old one in one step. `change` returns false (with its
// error) to leave the file as it was.
Status UpdateStore(const std::function<Status(Store&)>& change);

}  // namespace platform::registry_store

#endif  // PLATFORM_POSIX_REGISTRY_STORE_H_
