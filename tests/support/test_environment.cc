#include "tests/support/test_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/error.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "tests/support/scoped_env.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tests_support {

#if defined(_WIN32)

void SetMachineString(const std::string& key, const std::string& name, const std::string& value) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
}

void DeleteMachineKey(const std::string& key) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

#else

// The posix store is a regedit file: the machine's keys are written into it
// directly, since the registry layer opens them read-only.
void SetMachineString(const std::string& key, const std::string& name, const std::string& value) {
  const char* store = std::getenv("PELIXO_REGISTRY");
  ASSERT_NE(store, nullptr);
  platform::Expected<std::string> text = platform::ReadWholeFile(store);
  std::string content = text && !text->empty() ? *text : std::string("REGEDIT4\n");
  std::string escaped;
  for (char c : value) {
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  content += "\n[HKEY_LOCAL_MACHINE\\" + key + "]\n\"" + name + "\"=\"" + escaped + "\"\n";
  ASSERT_TRUE(platform::WriteWholeFile(store, content));
}

void DeleteMachineKey(const std::string&) {}

#endif

void PrivateSettings(const std::string& folder) {
  SetEnvironment("PELIXO_BOXES", "stderr");
  SetEnvironment("PELIXO_REGISTRY", folder + "registry.reg");
  ClearEnvironment("PELIXO_FAIL_WRITES");
}

}  // namespace tests_support
