#include "pelixo/app/win32/resource_info.h"

#include <windows.h>

#include <cstring>

namespace pelixo::window {

TResourceInfo::TResourceInfo(const std::string& file_name) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file_name.c_str(), &ignored);
  if (size == 0) return;
  std::vector<uint8_t> data(size);
  if (!GetFileVersionInfoA(file_name.c_str(), 0, size, data.data())) return;
  data_ = std::move(data);
}

std::optional<std::string> TResourceInfo::ReadVersionString(
    const std::string& name) const {
  if (data_.empty()) return std::nullopt;
  std::string query = "\\StringFileInfo\\040904E4\\" + name;
  void* value = nullptr;
  UINT length = 0;
  // VerQueryValue only reads, whatever its parameter's type says.
  if (!VerQueryValueA(const_cast<uint8_t*>(data_.data()), query.c_str(), &value,
                      &length) ||
      value == nullptr) {
    return std::nullopt;
  }
  const char* text = static_cast<const char*>(value);
  // `length` counts characters; the text ends at its first zero anyway.
  return std::string(text, strnlen(text, length));
}

std::optional<VersionNumbers> TResourceInfo::ReadVersionNumbers() const {
  if (data_.empty()) return std::nullopt;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(const_cast<uint8_t*>(data_.data()), "\\", &value,
                      &length) ||
      value == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, value, sizeof(info));
  if (info.dwSignature != 0xFEEF04BD) return std::nullopt;
  VersionNumbers numbers;
  numbers.major = HIWORD(info.dwFileVersionMS);
  numbers.minor = LOWORD(info.dwFileVersionMS);
  numbers.release = HIWORD(info.dwFileVersionLS);
  numbers.build = LOWORD(info.dwFileVersionLS);
  return numbers;
}

std::string ProgramFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(),
                                      static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace pelixo::window
