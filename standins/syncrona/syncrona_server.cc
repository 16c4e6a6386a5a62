// The stand-in of Syncrona's selection component: an in-process component
// server (DllGetClassObject, DllCanUnloadNow, DllRegisterServer,
// DllUnregisterServer) whose one class implements the selection interface
// on the simulated device. No dialog: the jobs a receive picks come from the
// simulator's settings (simulated_device.h).
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "pelixo/app/com_syncrona.h"
#include "pelixo/app/switches.h"
#include "platform/com.h"
#include "platform/switches.h"
#include "standins/syncrona/registration.h"
#include "standins/syncrona/simulated_device.h"

#if defined(_WIN32)
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using platform::ComChar;
using platform::ComGuid;
using platform::ComStatus;

namespace {

// The module's one piece of state, as every component server keeps it: the
// live objects and the locks, which decide whether it may be unloaded.
struct ServerState {
  std::atomic<long> objects{0};
  std::atomic<long> locks{0};
};
ServerState server_state;

std::u16string WideOf(const ComChar* text) {
  if (text == nullptr) return std::u16string();
  return std::u16string(text);
}

class SelectionComponent final : public pelixo::ISyncronaSelection {
 public:
  SelectionComponent() { ++server_state.objects; }

  ComStatus PLATFORM_STDCALL QueryInterface(const ComGuid& iid, void** object) override {
    if (object == nullptr) return platform::kComPointer;
    if (iid == platform::kIidUnknown || iid == pelixo::kSyncronaSelectionInterfaceId) {
      AddRef();
      *object = this;
      return platform::kComOk;
    }
    *object = nullptr;
    return platform::kComNoInterface;
  }
  uint32_t PLATFORM_STDCALL AddRef() override { return ++references_; }
  uint32_t PLATFORM_STDCALL Release() override {
    uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

  ComStatus PLATFORM_STDCALL Reserved1() override { return platform::kComNotImplemented; }
  ComStatus PLATFORM_STDCALL Reserved2() override { return platform::kComNotImplemented; }
  ComStatus PLATFORM_STDCALL Reserved3() override { return platform::kComNotImplemented; }

  ComStatus PLATFORM_STDCALL Receive(void* /*owner*/, int32_t /*flags*/,
                                     const ComChar* destination, int32_t, int32_t, int32_t,
                                     const ComChar* file_type, const ComChar* /*text*/,
                                     pelixo::SyncronaReceiveResult** result) override {
    if (result == nullptr || destination == nullptr) return platform::kComPointer;
    *result = nullptr;
    if (WideOf(file_type) != u"DC") return platform::kComInvalidArgument;
    platform::Expected<std::vector<std::string>> received =
        standins::ReceiveJobs(platform::AnsiFromWide(WideOf(destination)));
    if (!received) return platform::kComFail;
    if (received->empty()) return platform::kComFalse;  // the user picked nothing
    std::u16string names;
    for (const std::string& path : *received) {
      names += platform::WideFromAnsi(path);
      names.push_back(0);
    }
    // One block: the header, then the names, freed by the host at once.
    size_t bytes = sizeof(pelixo::SyncronaReceiveResult) + names.size() * sizeof(ComChar);
    auto* block = static_cast<pelixo::SyncronaReceiveResult*>(platform::ComTaskAlloc(bytes));
    if (block == nullptr) return platform::kComOutOfMemory;
    block->count = static_cast<uint32_t>(received->size());
    block->length = static_cast<uint32_t>(names.size());
    block->buffer = reinterpret_cast<ComChar*>(block + 1);
    for (size_t i = 0; i < names.size(); ++i) block->buffer[i] = names[i];
    *result = block;
    return platform::kComOk;
  }

  ComStatus PLATFORM_STDCALL Send(void* /*owner*/, int32_t /*flags*/, const ComChar* file_type,
                                  const ComChar* job_name,
                                  pelixo::ISyncronaSaveAs* callback) override {
    if (job_name == nullptr || callback == nullptr) return platform::kComPointer;
    if (WideOf(file_type) != u"DC") return platform::kComInvalidArgument;
    std::u16string name = WideOf(job_name);
    ComChar* path = nullptr;
    ComStatus status = callback->SaveAs(name.c_str(), 0, standins::SendVersion(), &path);
    if (status != platform::kComOk) {
      platform::ComTaskFree(path);
      return status < 0 ? status : platform::kComFail;
    }
    if (path == nullptr) return platform::kComPointer;
    std::string dc_path = platform::AnsiFromWide(WideOf(path));
    platform::ComTaskFree(path);
    platform::Status stored = standins::StoreJob(platform::AnsiFromWide(name), dc_path);
    return stored ? platform::kComOk : platform::kComFail;
  }

  ComStatus PLATFORM_STDCALL SetHelpFile(const ComChar*) override { return platform::kComOk; }

 private:
  ~SelectionComponent() { --server_state.objects; }
  std::atomic<uint32_t> references_{1};
};

class SelectionFactory final : public platform::ComClassFactory {
 public:
  ComStatus PLATFORM_STDCALL QueryInterface(const ComGuid& iid, void** object) override {
    if (object == nullptr) return platform::kComPointer;
    if (iid == platform::kIidUnknown || iid == platform::kIidClassFactory) {
      AddRef();
      *object = this;
      return platform::kComOk;
    }
    *object = nullptr;
    return platform::kComNoInterface;
  }
  // The factory lives as long as the module; its count only keeps the
  // module loaded.
  uint32_t PLATFORM_STDCALL AddRef() override { return ++server_state.locks + 1; }
  uint32_t PLATFORM_STDCALL Release() override { return --server_state.locks + 1; }

  ComStatus PLATFORM_STDCALL CreateInstance(platform::ComUnknown* outer, const ComGuid& iid,
                                            void** object) override {
    if (object == nullptr) return platform::kComPointer;
    *object = nullptr;
    if (outer != nullptr) return platform::kComNoAggregation;
    auto* component = new SelectionComponent();
    ComStatus status = component->QueryInterface(iid, object);
    component->Release();
    return status;
  }
  ComStatus PLATFORM_STDCALL LockServer(int32_t lock) override {
    if (lock != 0) {
      ++server_state.locks;
    } else {
      --server_state.locks;
    }
    return platform::kComOk;
  }
};

SelectionFactory factory;

}  // namespace

STANDIN_EXPORT ComStatus PLATFORM_STDCALL DllGetClassObject(const ComGuid& clsid,
                                                           const ComGuid& iid, void** object) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  if (object == nullptr) return platform::kComPointer;
  *object = nullptr;
  if (!(clsid == pelixo::kSyncronaSelectionClassId)) return platform::kComClassNotAvailable;
  return factory.QueryInterface(iid, object);
}

STANDIN_EXPORT ComStatus PLATFORM_STDCALL DllCanUnloadNow() {
  return server_state.objects == 0 && server_state.locks == 0 ? platform::kComOk
                                                              : platform::kComFalse;
}

STANDIN_EXPORT ComStatus PLATFORM_STDCALL DllRegisterServer() {
  platform::SetSwitches(pelixo::PelixoSwitches());
  return standins::RegisterSelectionServer(&server_state)
             ? platform::kComOk
             : platform::kComFail;
}

STANDIN_EXPORT ComStatus PLATFORM_STDCALL DllUnregisterServer() {
  platform::SetSwitches(pelixo::PelixoSwitches());
  return standins::UnregisterSelectionServer() ? platform::kComOk : platform::kComFail;
}
