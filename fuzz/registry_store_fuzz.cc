// The settings store's file through its parser and writer: any bytes are
// read without a crash or a hang, and a store that was read is written so
// that it reads back as the same store, every key found by its path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/registry_store.h"

using platform::registry_store::FormatStore;
using platform::registry_store::ParseStore;
using platform::registry_store::Store;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::Expected<Store> store = ParseStore(text, "registry.reg");
  if (!store) return 0;
  const std::string written = FormatStore(*store);
  platform::Expected<Store> again = ParseStore(written, "written.reg");
  if (!again || FormatStore(*again) != written) __builtin_trap();

  const auto& keys = store->keys();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (store->Find(keys[i].path) == nullptr || !store->Exists(keys[i].path)) {
      __builtin_trap();
    }
  }
  // The subkey lists of the first keys, and changes of the copy.
  Store changed = *store;
  for (size_t i = 0; i < keys.size() && i < 8; ++i) {
    (void)store->Subkeys(keys[i].path);
  }
  if (!keys.empty()) {
    const std::string first = keys.front().path;
    changed.MoveTree(first, first + "\\moved");
    (void)changed.RemoveTree(first + "\\moved");
    (void)FormatStore(changed);
  }
  return 0;
}
