// The binding to Syncrona's selection component: its class id, its
// interface in the component's method order, the result block of Receive and
// the save-as callback interface through which it asks for the job to send.
// Header only: the stand-in component implements the same declarations.
#ifndef PELIXO_APP_COM_SYNCRONA_H_
#define PELIXO_APP_COM_SYNCRONA_H_

#include <cstdint>

#include "platform/com.h"

namespace pelixo {

// {59778ADC-A4FF-487C-B29A-D06E85F4E256}
inline constexpr platform::ComGuid kSyncronaSelectionClassId = {
    0x59778ADC, 0xA4FF, 0x487C, {0xB2, 0x9A, 0xD0, 0x6E, 0x85, 0xF4, 0xE2, 0x56}};
// {75AA8AA8-0336-4EFC-A236-C58ED4F8F48F}
inline constexpr platform::ComGuid kSyncronaSelectionInterfaceId = {
    0x75AA8AA8, 0x0336, 0x4EFC, {0xA2, 0x36, 0xC5, 0x8E, 0xD4, 0xF8, 0xF4, 0x8F}};
// {4D8B9AB8-7D80-4EEE-A312-6FEBB8515B6D}
inline constexpr platform::ComGuid kSyncronaSaveAsInterfaceId = {
    0x4D8B9AB8, 0x7D80, 0x4EEE, {0xA3, 0x12, 0x6F, 0xEB, 0xB8, 0x51, 0x5B, 0x6D}};

// The arguments the host always gives Receive and Send. The component
// expects exactly these; what its flags and three numbers mean is its own.
inline constexpr int32_t kReceiveFlags = 12;
inline constexpr int32_t kReceiveFixedNumbers[3] = {-200, 1, 5};
inline constexpr int32_t kSendFlags = 0;
// The kind of file both transfers move: DC jobs.
inline constexpr platform::ComChar kJobFileType[] = u"DC";

// The result of Receive: one block from the task allocator that the caller
// frees with the same allocator. `buffer` holds `count` names, each ended by
// a zero character, `length` characters in all.
struct SyncronaReceiveResult {
  uint32_t count;
  uint32_t length;
  platform::ComChar* buffer;
};

// Implemented by the host: the component calls SaveAs when it needs the
// file of the job being sent, for the DC version it wants. The host returns
// the path of the file it wrote, as a wide text from the task allocator that
// the component frees.
class ISyncronaSaveAs : public platform::ComUnknown {
 public:
  virtual platform::ComStatus PLATFORM_STDCALL SaveAs(const platform::ComChar* name,
                                                      int32_t reserved,
                                                      int32_t dc_version,
                                                      platform::ComChar** path) = 0;

 protected:
  ~ISyncronaSaveAs() = default;
};

class ISyncronaSelection : public platform::ComUnknown {
 public:
  // Three methods the host does not call.
  virtual platform::ComStatus PLATFORM_STDCALL Reserved1() = 0;
  virtual platform::ComStatus PLATFORM_STDCALL Reserved2() = 0;
  virtual platform::ComStatus PLATFORM_STDCALL Reserved3() = 0;

  // Lets the user pick jobs on a device and receives them into
  // `destination`; the paths of the received DC files come back in `result`.
  virtual platform::ComStatus PLATFORM_STDCALL Receive(
      void* owner, int32_t flags, const platform::ComChar* destination, int32_t value1,
      int32_t value2, int32_t value3, const platform::ComChar* file_type,
      const platform::ComChar* text, SyncronaReceiveResult** result) = 0;

  // Sends the job `job_name`, whose file the component obtains through
  // `callback`, to a device the user picks.
  virtual platform::ComStatus PLATFORM_STDCALL Send(void* owner, int32_t flags,
                                                    const platform::ComChar* file_type,
                                                    const platform::ComChar* job_name,
                                                    ISyncronaSaveAs* callback) = 0;

  virtual platform::ComStatus PLATFORM_STDCALL SetHelpFile(
      const platform::ComChar* path) = 0;

 protected:
  ~ISyncronaSelection() = default;
};

}  // namespace pelixo

#endif  // PELIXO_APP_COM_SYNCRONA_H_
