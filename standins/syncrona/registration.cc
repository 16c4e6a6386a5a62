#include "standins/syncrona/registration.h"

#include <string>

#include "pelixo/app/com_syncrona.h"
#include "platform/com.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>

#include "platform/registry.h"
#endif

namespace standins {

namespace {

constexpr char kDescription[] = "Corvane Syncrona selection (stand-in)";

std::string ClassKey() {
  return "CLSID\\" + platform::ComGuidText(pelixo::kSyncronaSelectionClassId);
}

#if defined(_WIN32)

std::string ModulePath(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module)) {
    return std::string();
  }
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(path, length);
}

bool SetDefaultValue(const std::string& key_path, const std::string& name,
                     const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result = RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace

bool RegisterSelectionServer(const void* address) {
  std::string path = ModulePath(address);
  if (path.empty()) return false;
  return SetDefaultValue(ClassKey(), "", kDescription) &&
         SetDefaultValue(ClassKey() + "\\InprocServer32", "", path) &&
         SetDefaultValue(ClassKey() + "\\InprocServer32", "ThreadingModel", "Apartment");
}

bool UnregisterSelectionServer() {
  LONG result = RegDeleteTreeA(HKEY_CLASSES_ROOT, ClassKey().c_str());
  if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ClassKey().c_str());
    return true;
  }
  return false;
}

#else

std::string ModulePath(const void* address) {
  Dl_info info;
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return std::string();
  return info.dli_fname;
}

}  // namespace

bool RegisterSelectionServer(const void* address) {
  std::string path = ModulePath(address);
  if (path.empty()) return false;
  const std::string base = "Software\\Classes\\" + ClassKey();
  platform::Expected<platform::RegistryKey> key =
      platform::RegistryKey::Open(platform::RegistryRoot::kCurrentUser, base, true);
  if (!key || !key->SetString("", kDescription)) return false;
  platform::Expected<platform::RegistryKey> server = platform::RegistryKey::Open(
      platform::RegistryRoot::kCurrentUser, base + "\\InprocServer32", true);
  return server && server->SetString("", path) && server->SetString("ThreadingModel", "Apartment");
}

bool UnregisterSelectionServer() {
  const std::string base = "Software\\Classes\\" + ClassKey();
  if (!platform::RegistryKey::KeyExists(platform::RegistryRoot::kCurrentUser, base)) return true;
  return static_cast<bool>(platform::DeleteRegistryTree(base));
}

#endif

}  // namespace standins
