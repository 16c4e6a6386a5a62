// The application object of the window program: its hidden top-level
// window, which owns all of Pelixo's windows (and is the owner the device
// component's dialogs are given), the message handling shared by the main
// loop, the modal loops and the waits around external programs, and the
// wait cursor.
#ifndef PELIXO_APP_WIN32_APPLICATION_H_
#define PELIXO_APP_WIN32_APPLICATION_H_

#include <windows.h>

#include <vector>

namespace pelixo::window {

class TApplication {
 public:
  explicit TApplication(HINSTANCE instance);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates the hidden owner window; false when that fails.
  bool CreateHandle(const char* title);

  HINSTANCE instance() const { return instance_; }
  HWND handle() const { return handle_; }

  // The forms whose keyboard interface (Tab, arrows, Enter, Esc) the
  // message handling serves.
  void AddForm(HWND form);
  void RemoveForm(HWND form);

  // Handles one message taken from the queue.
  void HandleMessage(MSG& message);
  // Handles the messages waiting in the queue; false when there were none.
  // Gives true (and posts the quit message back) on WM_QUIT as well.
  bool ProcessPendingMessages();
  // Handles pending messages, or waits briefly for one when there are none.
  void ProcessMessagesOrWait();
  // The main loop, until the quit message; gives its exit code.
  int Run();

  void SetWaitCursor(bool on);
  bool wait_cursor() const { return wait_cursor_; }

  // Brings `window` (or the active window of the program) to the front.
  void BringToForeground(HWND window);

 private:
  HINSTANCE instance_;
  HWND handle_ = nullptr;
  std::vector<HWND> forms_;
  bool wait_cursor_ = false;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_APPLICATION_H_
