// The typed registry values, the same on every backend: strings are stored
// with their final NUL, whole numbers as four little-endian bytes.
#include "platform/registry.h"

namespace platform {

std::optional<std::string> RegistryKey::GetString(const std::string& name) const {
  std::optional<RegistryValue> value = GetValue(name);
  if (!value || (value->type != RegistryType::kString &&
                 value->type != RegistryType::kExpandString)) {
    return std::nullopt;
  }
  std::string text(value->data.begin(), value->data.end());
  return text.substr(0, text.find('\0'));
}

std::optional<int32_t> RegistryKey::GetInt(const std::string& name) const {
  std::optional<RegistryValue> value = GetValue(name);
  if (!value || value->type != RegistryType::kDword || value->data.size() != 4) {
    return std::nullopt;
  }
  const auto& d = value->data;
  return static_cast<int32_t>(uint32_t(d[0]) | uint32_t(d[1]) << 8 |
                              uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24);
}

Status RegistryKey::SetString(const std::string& name, const std::string& value) {
  RegistryValue v;
  v.type = RegistryType::kString;
  v.data.assign(value.begin(), value.end());
  v.data.push_back(0);
  return SetValue(name, v);
}

Status RegistryKey::SetInt(const std::string& name, int32_t value) {
  uint32_t n = static_cast<uint32_t>(value);
  RegistryValue v;
  v.type = RegistryType::kDword;
  v.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  return SetValue(name, v);
}

}  // namespace platform
