// COM through ole32.
#include "platform/com.h"
#include "text/format.h"

#include <windows.h>
#include <objbase.h>

#include <string>

namespace platform {

static_assert(sizeof(ComGuid) == sizeof(GUID), "ComGuid must be laid out as GUID");
static_assert(sizeof(ComChar) == sizeof(wchar_t), "wide text is UTF-16");

namespace {

std::string StatusText(HRESULT status) {
  return text::Format("0x%08lX", static_cast<unsigned long>(status));
}

}  // namespace

class ComSession::Impl {
 public:
  explicit Impl(bool balance) : balance_(balance) {}
  ~Impl() {
    if (balance_) CoUninitialize();
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

 private:
  bool balance_;
};

ComSession::ComSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ComSession::ComSession(ComSession&& other) noexcept = default;
ComSession& ComSession::operator=(ComSession&& other) noexcept = default;
ComSession::~ComSession() = default;

Expected<ComSession> ComSession::Start() {
  HRESULT status = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (status == RPC_E_CHANGED_MODE) {
    // The thread is in another apartment already; COM is usable as it is,
    // and this session must not uninitialise it.
    return ComSession(std::make_unique<Impl>(false));
  }
  if (FAILED(status)) {
    return Error("COM cannot be initialised (status " + StatusText(status) + ")");
  }
  return ComSession(std::make_unique<Impl>(true));
}

Expected<void*> ComSession::CreateObject(const ComGuid& clsid, const ComGuid& iid) {
  void* object = nullptr;
  HRESULT status = CoCreateInstance(reinterpret_cast<const CLSID&>(clsid), nullptr,
                                    CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    reinterpret_cast<const IID&>(iid), &object);
  if (FAILED(status) || object == nullptr) {
    return Error("The class " + ComGuidText(clsid) + " cannot be created (status " +
                 StatusText(status) + ")");
  }
  return object;
}

void* ComTaskAlloc(std::size_t bytes) { return CoTaskMemAlloc(bytes); }

void ComTaskFree(void* block) { CoTaskMemFree(block); }

std::u16string WideFromAnsi(std::string_view text) {
  if (text.empty()) return std::u16string();
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                 nullptr, 0);
  if (size <= 0) return std::u16string();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      size);
  return std::u16string(wide.begin(), wide.end());
}

std::string AnsiFromWide(std::u16string_view text) {
  if (text.empty()) return std::string();
  std::wstring wide(text.begin(), text.end());
  int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                 nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                      narrow.data(), size, nullptr, nullptr);
  return narrow;
}

}  // namespace platform
