#include "platform/registry.h"

#include <windows.h>

#include "platform/backend.h"

namespace platform {
namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER
                                            : HKEY_LOCAL_MACHINE;
}

std::string FullName(RegistryRoot root, const std::string& path) {
  return std::string(root == RegistryRoot::kCurrentUser ? "HKEY_CURRENT_USER\\"
                                                        : "HKEY_LOCAL_MACHINE\\") +
         path;
}

std::string ErrorText(LONG code) {
  SetLastError(static_cast<DWORD>(code));
  return backend::LastErrorText();
}

// An open key, closed when it goes.
class KeyHandle {
 public:
  KeyHandle() = default;
  explicit KeyHandle(HKEY key) : key_(key) {}
  ~KeyHandle() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY get() const { return key_; }
  HKEY* out() { return &key_; }
  void reset() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

std::optional<RegistryValue> QueryValue(HKEY key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The value may grow between the two calls.
  for (int attempt = 0; attempt < 4; ++attempt) {
    RegistryValue value;
    value.data.resize(size);
    DWORD got = size;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                               value.data.data(), &got);
    if (rc == ERROR_SUCCESS) {
      value.data.resize(got);
      value.type = static_cast<RegistryType>(type);
      return value;
    }
    if (rc != ERROR_MORE_DATA) return std::nullopt;
    size = got;
  }
  return std::nullopt;
}

// The names an enumeration call gives for the indexes 0, 1, ... until it
// fails; `room` is the longest name's size.
template <typename Call>
std::vector<std::string> EnumNames(DWORD room, Call call) {
  std::vector<std::string> names;
  std::vector<char> name(room);
  for (DWORD i = 0;; ++i) {
    DWORD length = room;
    if (call(i, name.data(), &length) != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), length);
  }
  return names;
}

std::vector<std::string> EnumSubkeys(HKEY key) {
  return EnumNames(256, [key](DWORD i, char* name, DWORD* length) {
    return RegEnumKeyExA(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::string> EnumValues(HKEY key) {
  return EnumNames(16384, [key](DWORD i, char* name, DWORD* length) {
    return RegEnumValueA(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

LONG CopyTree(HKEY from, HKEY to) {
  for (const std::string& name : EnumValues(from)) {
    std::optional<RegistryValue> value = QueryValue(from, name);
    if (!value) return ERROR_READ_FAULT;
    LONG rc = RegSetValueExA(to, name.c_str(), 0, DWORD(value->type),
                             value->data.data(), DWORD(value->data.size()));
    if (rc != ERROR_SUCCESS) return rc;
  }
  for (const std::string& name : EnumSubkeys(from)) {
    KeyHandle child_from, child_to;
    LONG rc = RegOpenKeyExA(from, name.c_str(), 0, KEY_READ, child_from.out());
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegCreateKeyExA(to, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                         nullptr, child_to.out(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    rc = CopyTree(child_from.get(), child_to.get());
    if (rc != ERROR_SUCCESS) return rc;
  }
  return ERROR_SUCCESS;
}

}  // namespace

class RegistryKey::Impl {
 public:
  Impl(HKEY key, std::string name, bool writable)
      : key_(key), name_(std::move(name)), writable_(writable) {}
  Status Set(const std::string& value_name, DWORD type, const BYTE* data,
             DWORD size) {
    if (!writable_) return Error("Registry key " + name_ + " is read-only");
    LONG rc = RegSetValueExA(key_.get(), value_name.c_str(), 0, type, data, size);
    if (rc != ERROR_SUCCESS) {
      return Error("Cannot write the registry value " + value_name + " of " +
                   name_ + ": " + ErrorText(rc));
    }
    return Status::Ok();
  }

  KeyHandle key_;
  std::string name_;
  bool writable_;
};

Expected<RegistryKey> RegistryKey::Open(RegistryRoot root,
                                        const std::string& path, bool create) {
  HKEY key = nullptr;
  LONG rc;
  bool writable = root == RegistryRoot::kCurrentUser;
  if (!writable) {
    rc = RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_READ, &key);
  } else if (create) {
    rc = RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, 0,
                         KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  } else {
    rc = RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
  }
  if (rc != ERROR_SUCCESS) {
    return Error("Cannot open the registry key " + FullName(root, path) + ": " +
                 ErrorText(rc));
  }
  return RegistryKey(MakeImpl<Impl>(key, FullName(root, path), writable));
}

bool RegistryKey::KeyExists(RegistryRoot root, const std::string& path) {
  KeyHandle key;
  return RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_READ, key.out()) ==
         ERROR_SUCCESS;
}

bool RegistryKey::ValueExists(const std::string& name) const {
  return RegQueryValueExA(impl_->key_.get(), name.c_str(), nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<RegistryValue> RegistryKey::GetValue(const std::string& name) const {
  return QueryValue(impl_->key_.get(), name);
}

Status RegistryKey::SetValue(const std::string& name, const RegistryValue& value) {
  return impl_->Set(name, DWORD(value.type), value.data.data(),
                    DWORD(value.data.size()));
}

Status RegistryKey::DeleteValue(const std::string& name) {
  if (!impl_->writable_) return Error("Registry key " + impl_->name_ + " is read-only");
  LONG rc = RegDeleteValueA(impl_->key_.get(), name.c_str());
  if (rc != ERROR_SUCCESS) {
    return Error("Cannot delete the registry value " + name + " of " +
                 impl_->name_ + ": " + ErrorText(rc));
  }
  return Status::Ok();
}

std::vector<std::string> RegistryKey::SubkeyNames() const {
  return EnumSubkeys(impl_->key_.get());
}

std::vector<std::string> RegistryKey::ValueNames() const {
  return EnumValues(impl_->key_.get());
}

Status MoveRegistryKey(const std::string& from, const std::string& to) {
  std::string source = FullName(RegistryRoot::kCurrentUser, from);
  std::string target = FullName(RegistryRoot::kCurrentUser, to);
  if (RegistryKey::KeyExists(RegistryRoot::kCurrentUser, to)) {
    return Error("Cannot move the registry key " + source + " to " + target +
                 ": the target exists");
  }
  KeyHandle old_key;
  LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ,
                          old_key.out());
  if (rc != ERROR_SUCCESS) {
    return Error("Cannot move the registry key " + source + ": " + ErrorText(rc));
  }
  {
    KeyHandle new_key;
    rc = RegCreateKeyExA(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0,
                         KEY_ALL_ACCESS, nullptr, new_key.out(), nullptr);
    if (rc == ERROR_SUCCESS) rc = CopyTree(old_key.get(), new_key.get());
  }
  if (rc != ERROR_SUCCESS) {
    // A half copy would leave two keys: the old one stays, the copy goes.
    RegDeleteTreeA(HKEY_CURRENT_USER, to.c_str());
    return Error("Cannot move the registry key " + source + " to " + target +
                 ": " + ErrorText(rc));
  }
  old_key.reset();
  return DeleteRegistryTree(from);
}

Status DeleteRegistryTree(const std::string& path) {
  if (path.empty()) return Error("Cannot delete the registry root");
  LONG rc = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  if (rc != ERROR_SUCCESS) {
    return Error("Cannot delete the registry key " +
                 FullName(RegistryRoot::kCurrentUser, path) + ": " + ErrorText(rc));
  }
  return Status::Ok();
}

}  // namespace platform
