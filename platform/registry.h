// The registry: keys of the current user read and written, keys of the local
// machine read only. The win32 backend is the real registry; the posix backend
// keeps a store in a text file in the regedit export format, named by a
// switch (switches.h), read again whenever the file has changed and
// rewritten atomically under a lock, so that the programs of a machine
// share it across processes. Key paths deeper than 512 levels are refused ("Registry key
// path too deep").
#ifndef PLATFORM_REGISTRY_H_
#define PLATFORM_REGISTRY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/impl_ptr.h"

namespace platform {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// Value types as the registry numbers them (REG_SZ = 1, ...).
enum class RegistryType : uint32_t {
  kNone = 0,
  kString = 1,
  kExpandString = 2,
  kBinary = 3,
  kDword = 4,
  kMultiString = 7,
};

struct RegistryValue {
  RegistryType type = RegistryType::kNone;
  std::vector<uint8_t> data;  // raw bytes; strings include their final NUL
};

class RegistryKey {
 public:
  // Opens `path` (backslash-separated, below the root) for reading and
  // writing, creating it when `create` is set. Local-machine keys are always
  // opened read-only.
  static Expected<RegistryKey> Open(RegistryRoot root, const std::string& path,
                                    bool create);
  static bool KeyExists(RegistryRoot root, const std::string& path);

  bool ValueExists(const std::string& name) const;
  std::optional<std::string> GetString(const std::string& name) const;
  std::optional<int32_t> GetInt(const std::string& name) const;
  std::optional<RegistryValue> GetValue(const std::string& name) const;
  Status SetString(const std::string& name, const std::string& value);
  Status SetInt(const std::string& name, int32_t value);
  Status SetValue(const std::string& name, const RegistryValue& value);
  Status DeleteValue(const std::string& name);
  std::vector<std::string> SubkeyNames() const;
  std::vector<std::string> ValueNames() const;

  class Impl;

 private:
  explicit RegistryKey(ImplPtr<Impl> impl) : impl_(std::move(impl)) {}
  ImplPtr<Impl> impl_;
};

// Moves the key `from` with every value and subkey to `to` (both below the
// current user's root) and deletes `from`. Fails when `to` exists already.
Status MoveRegistryKey(const std::string& from, const std::string& to);

// Deletes a key of the current user with everything below it.
Status DeleteRegistryTree(const std::string& path);

}  // namespace platform

#endif  // PLATFORM_REGISTRY_H_
