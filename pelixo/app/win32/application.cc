#include "pelixo/app/win32/application.h"

#include <algorithm>

namespace pelixo::window {
namespace {

constexpr char kApplicationClass[] = "TPelixoApplication";

// How long a wait for messages lasts before the caller looks again at what
// it waits for (the window enabled by the worker wakes it at once).
constexpr DWORD kMessageWaitMs = 50;

}  // namespace

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {}

TApplication::~TApplication() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

bool TApplication::CreateHandle(const char* title) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = instance_;
  window_class.lpszClassName = kApplicationClass;
  window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  RegisterClassExA(&window_class);
  handle_ = CreateWindowExA(0, kApplicationClass, title, WS_POPUP, 0, 0, 0, 0,
                            nullptr, nullptr, instance_, nullptr);
  return handle_ != nullptr;
}

void TApplication::AddForm(HWND form) { forms_.push_back(form); }

void TApplication::RemoveForm(HWND form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TApplication::HandleMessage(MSG& message) {
  if (message.hwnd != nullptr) {
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (HWND form : forms_) {
      if (form == root && IsDialogMessageA(form, &message)) return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

bool TApplication::ProcessPendingMessages() {
  bool any = false;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    any = true;
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return true;
    }
    HandleMessage(message);
  }
  return any;
}

void TApplication::ProcessMessagesOrWait() {
  if (ProcessPendingMessages()) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, kMessageWaitMs, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
  ProcessPendingMessages();
}

int TApplication::Run() {
  MSG message;
  for (;;) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    HandleMessage(message);
  }
}

void TApplication::SetWaitCursor(bool on) {
  wait_cursor_ = on;
  if (on) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  } else {
    // The window under the mouse puts up its own cursor again.
    POINT point;
    if (GetCursorPos(&point)) SetCursorPos(point.x, point.y);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
}

void TApplication::BringToForeground(HWND window) {
  if (window == nullptr) return;
  HWND popup = GetLastActivePopup(window);
  HWND target = popup != nullptr && IsWindowVisible(popup) ? popup : window;
  SetForegroundWindow(target);
}

}  // namespace pelixo::window
