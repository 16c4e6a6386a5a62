// Registry keys over the store file: every operation sees the file as it is
// now (parsed again only when it changed), every change rewrites it under
// the lock, so that processes sharing the store see each other's values at
// once.
#include "platform/registry.h"

#include <algorithm>
#include <memory>

#include "platform/posix/registry_store.h"
#include "text/ascii.h"

namespace platform {

using registry_store::LoadStore;
using registry_store::Store;
using registry_store::StoreKey;
using registry_store::UpdateStore;
using StoreRef = std::shared_ptr<const Store>;

namespace {

const char* RootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKEY_CURRENT_USER"
                                            : "HKEY_LOCAL_MACHINE";
}

// The full path of a key: the root's name and the path without empty parts
// ("a\\b\" is "a\b").
std::string FullPath(RegistryRoot root, const std::string& path) {
  std::string full = RootName(root);
  size_t i = 0;
  while (i < path.size()) {
    size_t end = path.find('\\', i);
    if (end == std::string::npos) end = path.size();
    if (end > i) full.append(1, '\\').append(path, i, end - i);
    i = end + 1;
  }
  return full;
}

bool IsRoot(const std::string& full) { return full.find('\\') == std::string::npos; }

bool TooDeep(const std::string& full) {
  return registry_store::KeyDepth(full) > registry_store::kMaxKeyDepth;
}

bool KeyIn(const Store& store, const std::string& full) {
  return IsRoot(full) || store.Exists(full);
}

const RegistryValue* FindValue(const StoreKey* key, const std::string& name) {
  if (key == nullptr) return nullptr;
  for (const auto& [n, value] : key->values) {
    if (text::EqualsIgnoreCase(n, name)) return &value;
  }
  return nullptr;
}

}  // namespace

class RegistryKey::Impl {
 public:
  Impl(std::string full, bool writable)
      : full_(std::move(full)), writable_(writable) {}

  // The value as the store holds it now; nullopt when the key or the value
  // is gone.
  std::optional<RegistryValue> Read(const std::string& name) const {
    Expected<StoreRef> store = LoadStore();
    if (!store) return std::nullopt;
    const RegistryValue* value = FindValue((*store)->Find(full_), name);
    if (value == nullptr) return std::nullopt;
    return *value;
  }

  Status Change(const std::function<Status(StoreKey&)>& change) {
    if (!writable_) return Error("Registry key " + full_ + " is read-only");
    return UpdateStore([&](Store& store) -> Status {
      if (!KeyIn(store, full_)) {
        return Error("Registry key " + full_ + " no longer exists");
      }
      return change(store.Create(full_));
    });
  }

  std::string full_;
  bool writable_;
};

Expected<RegistryKey> RegistryKey::Open(RegistryRoot root,
                                        const std::string& path, bool create) {
  std::string full = FullPath(root, path);
  bool writable = root == RegistryRoot::kCurrentUser;
  if (TooDeep(full)) return Error(registry_store::kKeyPathTooDeep);
  Expected<StoreRef> store = LoadStore();
  if (!store) return store.error();
  if (!KeyIn(**store, full)) {
    if (!create || !writable) {
      return Error("Cannot open the registry key " + full);
    }
    Status created = UpdateStore([&](Store& s) -> Status {
      s.Create(full);
      return Status::Ok();
    });
    if (!created) return created.error();
  }
  return RegistryKey(MakeImpl<Impl>(full, writable));
}

bool RegistryKey::KeyExists(RegistryRoot root, const std::string& path) {
  std::string full = FullPath(root, path);
  if (TooDeep(full)) return false;
  Expected<StoreRef> store = LoadStore();
  return store && KeyIn(**store, full);
}

bool RegistryKey::ValueExists(const std::string& name) const {
  return impl_->Read(name).has_value();
}

std::optional<RegistryValue> RegistryKey::GetValue(const std::string& name) const {
  return impl_->Read(name);
}

Status RegistryKey::SetValue(const std::string& name, const RegistryValue& value) {
  return impl_->Change([&](StoreKey& key) -> Status {
    for (auto& [n, v] : key.values) {
      if (text::EqualsIgnoreCase(n, name)) {
        v = value;
        return Status::Ok();
      }
    }
    key.values.emplace_back(name, value);
    return Status::Ok();
  });
}

Status RegistryKey::DeleteValue(const std::string& name) {
  return impl_->Change([&](StoreKey& key) -> Status {
    for (auto it = key.values.begin(); it != key.values.end(); ++it) {
      if (text::EqualsIgnoreCase(it->first, name)) {
        key.values.erase(it);
        return Status::Ok();
      }
    }
    return Error("The registry value " + name + " does not exist");
  });
}

std::vector<std::string> RegistryKey::SubkeyNames() const {
  Expected<StoreRef> store = LoadStore();
  if (!store) return {};
  return (*store)->Subkeys(impl_->full_);
}

std::vector<std::string> RegistryKey::ValueNames() const {
  std::vector<std::string> names;
  Expected<StoreRef> store = LoadStore();
  if (!store) return names;
  if (const StoreKey* key = (*store)->Find(impl_->full_)) {
    for (const auto& value : key->values) names.push_back(value.first);
  }
  return names;
}

Status MoveRegistryKey(const std::string& from, const std::string& to) {
  std::string source = FullPath(RegistryRoot::kCurrentUser, from);
  std::string target = FullPath(RegistryRoot::kCurrentUser, to);
  return UpdateStore([&](Store& store) -> Status {
    if (IsRoot(source) || !store.Exists(source)) {
      return Error("Cannot move the registry key " + source + ": it does not exist");
    }
    if (IsRoot(target) || store.Exists(target)) {
      return Error("Cannot move the registry key " + source + " to " + target +
                   ": the target exists");
    }
    if (registry_store::IsWithin(target, source)) {
      return Error("Cannot move the registry key " + source + " into itself");
    }
    size_t deepest = 0;
    for (const StoreKey& key : store.keys()) {
      if (registry_store::IsWithin(key.path, source)) {
        deepest = std::max(deepest, registry_store::KeyDepth(key.path));
      }
    }
    if (TooDeep(target) || deepest - registry_store::KeyDepth(source) +
                                   registry_store::KeyDepth(target) >
                               registry_store::kMaxKeyDepth) {
      return Error(registry_store::kKeyPathTooDeep);
    }
    store.MoveTree(source, target);
    return Status::Ok();
  });
}

Status DeleteRegistryTree(const std::string& path) {
  std::string full = FullPath(RegistryRoot::kCurrentUser, path);
  if (IsRoot(full)) return Error("Cannot delete the registry root");
  return UpdateStore([&](Store& store) -> Status {
    if (!store.RemoveTree(full)) {
      return Error("Cannot delete the registry key " + full + ": it does not exist");
    }
    return Status::Ok();
  });
}

}  // namespace platform
