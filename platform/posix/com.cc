// The component interfaces without COM: an in-process server is a shared
// library named in the registry store under its class id, loaded with dlopen
// and asked for its class factory, as COM does on Windows.
#include "platform/com.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/dynamic_library.h"
#include "platform/registry.h"
#include "text/format.h"

namespace platform {

namespace {

using GetClassObjectFunction = ComStatus (*)(const ComGuid& clsid, const ComGuid& iid,
                                             void** object);

std::string StatusText(ComStatus status) {
  return text::Format("0x%08X", static_cast<unsigned>(status));
}

// The server library of a class: per-user registrations first, then the
// machine's, as Windows merges them into its class root.
std::optional<std::string> ServerPath(const ComGuid& clsid) {
  const std::string path =
      "Software\\Classes\\CLSID\\" + ComGuidText(clsid) + "\\InprocServer32";
  for (RegistryRoot root : {RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine}) {
    if (!RegistryKey::KeyExists(root, path)) continue;
    Expected<RegistryKey> key = RegistryKey::Open(root, path, false);
    if (!key) continue;
    std::optional<std::string> server = key->GetString("");
    if (server && !server->empty()) return server;
  }
  return std::nullopt;
}

}  // namespace

class ComSession::Impl {
 public:
  Impl() = default;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  Expected<void*> CreateObject(const ComGuid& clsid, const ComGuid& iid) {
    const std::string name = "The class " + ComGuidText(clsid);
    std::optional<std::string> path = ServerPath(clsid);
    if (!path) {
      return Error(name + " is not registered (status " +
                   StatusText(kComClassNotRegistered) + ")");
    }
    Expected<DynamicLibrary> library = DynamicLibrary::Load(*path);
    if (!library) {
      return Error(name + " cannot be loaded from " + *path + ": " +
                   library.error().message());
    }
    auto get_class_object =
        reinterpret_cast<GetClassObjectFunction>(library->Symbol("DllGetClassObject"));
    if (get_class_object == nullptr) {
      return Error(name + ": " + *path + " is no component server");
    }
    void* factory_pointer = nullptr;
    ComStatus status = get_class_object(clsid, kIidClassFactory, &factory_pointer);
    if (status < 0 || factory_pointer == nullptr) {
      return Error(name + " is not available (status " + StatusText(status) + ")");
    }
    ComPtr<ComClassFactory> factory =
        ComPtr<ComClassFactory>::Adopt(static_cast<ComClassFactory*>(factory_pointer));
    void* object = nullptr;
    status = factory->CreateInstance(nullptr, iid, &object);
    factory.Reset();
    if (status < 0 || object == nullptr) {
      return Error(name + " cannot be created (status " + StatusText(status) + ")");
    }
    servers_.push_back(std::move(*library));
    return object;
  }

 private:
  // Unloaded when the session ends, after its objects were released.
  std::vector<DynamicLibrary> servers_;
};

ComSession::ComSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ComSession::ComSession(ComSession&& other) noexcept = default;
ComSession& ComSession::operator=(ComSession&& other) noexcept = default;
ComSession::~ComSession() = default;

Expected<ComSession> ComSession::Start() { return ComSession(std::make_unique<Impl>()); }

Expected<void*> ComSession::CreateObject(const ComGuid& clsid, const ComGuid& iid) {
  return impl_->CreateObject(clsid, iid);
}

void* ComTaskAlloc(std::size_t bytes) { return std::malloc(bytes == 0 ? 1 : bytes); }

void ComTaskFree(void* block) { std::free(block); }

std::u16string WideFromAnsi(std::string_view text) {
  std::u16string wide;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                          : (lead >> 3) == 30 ? 4 : 0;
    char32_t code = 0;
    bool valid = length != 0 && i + length <= text.size();
    if (valid) {
      code = length == 1 ? lead : lead & (0x7F >> length);
      for (std::size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next >> 6) != 2) {
          valid = false;
          break;
        }
        code = (code << 6) | (next & 0x3F);
      }
    }
    if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      wide.push_back(u'?');
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return wide;
}

std::string AnsiFromWide(std::u16string_view text) {
  std::string narrow;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      narrow.push_back('?');
      continue;
    }
    if (code < 0x80) {
      narrow.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      narrow.push_back(static_cast<char>(0xC0 | (code >> 6)));
      narrow.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      narrow.push_back(static_cast<char>(0xE0 | (code >> 12)));
      narrow.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      narrow.push_back(static_cast<char>(0xF0 | (code >> 18)));
      narrow.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return narrow;
}

}  // namespace platform
