#include "platform/interrupt.h"

#include <windows.h>

#include "platform/backend.h"

namespace platform {
namespace {

BOOL WINAPI OnConsoleControl(DWORD /*event*/) {
  backend::RemoveTableFiles();
  // Not handled: the next handler, finally the system's own, ends the
  // program as the event would have.
  return FALSE;
}

}  // namespace

namespace backend {

void RemoveFileFromHandler(const char* path) { DeleteFileA(path); }

}  // namespace backend

void RemoveTemporaryFilesOnInterrupt() {
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace platform
