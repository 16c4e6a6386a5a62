// COM as far as the system uses it: a session that initialises COM for a
// stretch of work, creating an object by class id, reference-counted
// interface pointers and the task allocator.
//
// Interfaces are declared by their users as classes derived from ComUnknown,
// method for method in the order of the component's interface, each method
// PLATFORM_STDCALL; with single inheritance and no virtual destructor the
// compiler lays them out as COM expects. The win32 backend is real COM. The
// posix backend reaches the same interfaces in a shared library: the class id
// names the library in the registry store (HKCU or HKLM
// Software\Classes\CLSID\{...}\InprocServer32, default value), which is loaded
// with dlopen and asked for its class factory through DllGetClassObject, as
// COM does with an in-process server.
#ifndef PLATFORM_COM_H_
#define PLATFORM_COM_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/calling_convention.h"
#include "platform/error.h"
#include "text/format.h"

namespace platform {

// A COM status (HRESULT): 0 success, negative failure.
using ComStatus = int32_t;
inline constexpr ComStatus kComOk = 0;
inline constexpr ComStatus kComFalse = 1;
inline constexpr ComStatus kComNotImplemented = static_cast<ComStatus>(0x80004001u);
inline constexpr ComStatus kComNoInterface = static_cast<ComStatus>(0x80004002u);
inline constexpr ComStatus kComPointer = static_cast<ComStatus>(0x80004003u);
inline constexpr ComStatus kComFail = static_cast<ComStatus>(0x80004005u);
inline constexpr ComStatus kComOutOfMemory = static_cast<ComStatus>(0x8007000Eu);
inline constexpr ComStatus kComInvalidArgument = static_cast<ComStatus>(0x80070057u);
inline constexpr ComStatus kComNoAggregation = static_cast<ComStatus>(0x80040110u);
inline constexpr ComStatus kComClassNotAvailable = static_cast<ComStatus>(0x80040111u);
inline constexpr ComStatus kComClassNotRegistered = static_cast<ComStatus>(0x80040154u);

// Wide text as COM passes it: UTF-16 on both builds.
using ComChar = char16_t;

// A class or interface id, laid out as the system's GUID.
struct ComGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};
inline bool operator==(const ComGuid& a, const ComGuid& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.data4[i] != b.data4[i]) return false;
  }
  return true;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case, as the registry
// writes class ids.
inline std::string ComGuidText(const ComGuid& guid) {
  return text::Format("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                      static_cast<unsigned>(guid.data1), guid.data2, guid.data3,
                      guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3],
                      guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
}

inline constexpr ComGuid kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr ComGuid kIidClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class ComUnknown {
 public:
  virtual ComStatus PLATFORM_STDCALL QueryInterface(const ComGuid& iid,
                                                    void** object) = 0;
  virtual uint32_t PLATFORM_STDCALL AddRef() = 0;
  virtual uint32_t PLATFORM_STDCALL Release() = 0;

 protected:
  // Objects go away through Release only.
  ~ComUnknown() = default;
};

class ComClassFactory : public ComUnknown {
 public:
  virtual ComStatus PLATFORM_STDCALL CreateInstance(ComUnknown* outer,
                                                    const ComGuid& iid,
                                                    void** object) = 0;
  virtual ComStatus PLATFORM_STDCALL LockServer(int32_t lock) = 0;

 protected:
  ~ComClassFactory() = default;
};

// Owns one reference to an interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  static ComPtr Adopt(T* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* pointer) {
    if (pointer != nullptr) pointer->AddRef();
    return Adopt(pointer);
  }
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    if (this != &other) *this = Share(other.pointer_);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }
  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // Gives the reference to the caller.
  T* Detach() { return std::exchange(pointer_, nullptr); }

 private:
  T* pointer_ = nullptr;
};

// COM initialised for the life of the object (win32: CoInitializeEx in a
// single-threaded apartment, balanced by CoUninitialize; posix: the server
// libraries loaded by this session, unloaded at its end). Every object
// created through a session is to be released before the session ends.
class ComSession {
 public:
  ComSession(ComSession&& other) noexcept;
  ComSession& operator=(ComSession&& other) noexcept;
  ~ComSession();

  static Expected<ComSession> Start();

  // Creates an object of class `clsid` (in-process or local server) and
  // returns its interface `iid`. The error names the class and the status.
  template <typename T>
  Expected<ComPtr<T>> Create(const ComGuid& clsid, const ComGuid& iid) {
    Expected<void*> object = CreateObject(clsid, iid);
    if (!object) return object.error();
    return ComPtr<T>::Adopt(static_cast<T*>(*object));
  }

  Expected<void*> CreateObject(const ComGuid& clsid, const ComGuid& iid);

  class Impl;

 private:
  explicit ComSession(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// The COM task allocator, shared by a component and its host.
void* ComTaskAlloc(std::size_t bytes);
void ComTaskFree(void* block);

// A wide text allocated with the task allocator (zero-terminated), for
// results that the receiver frees with ComTaskFree. Null when out of memory.
inline ComChar* ComTaskWideText(std::u16string_view text) {
  auto* copy = static_cast<ComChar*>(ComTaskAlloc((text.size() + 1) * sizeof(ComChar)));
  if (copy == nullptr) return nullptr;
  for (std::size_t i = 0; i < text.size(); ++i) copy[i] = text[i];
  copy[text.size()] = 0;
  return copy;
}

// 8-bit text in the system's code page to wide text and back (win32: the
// ANSI code page; posix: UTF-8, the encoding of its file names). Characters
// that the code page lacks become "?".
std::u16string WideFromAnsi(std::string_view text);
std::string AnsiFromWide(std::u16string_view text);

}  // namespace platform

#endif  // PLATFORM_COM_H_
