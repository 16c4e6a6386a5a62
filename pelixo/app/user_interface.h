// What the send and receive drivers ask of the user interface. The window
// program, the command line and the tests each implement it, so one driver
// serves all three.
#ifndef PELIXO_APP_USER_INTERFACE_H_
#define PELIXO_APP_USER_INTERFACE_H_

#include <optional>
#include <string>

namespace pelixo {

struct FileDialogRequest {
  std::string filter;             // "Description|*.ext" pairs
  std::string title;
  std::string default_extension;  // without the dot
  std::string file_name;          // proposed name
  std::string initial_directory;  // empty: the dialog's own choice
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseOpenFile(
      const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSaveFile(
      const FileDialogRequest& request) = 0;

  // The standard error box: title "Error", error icon, one OK button.
  virtual void ShowError(const std::string& text) = 0;
  // A plain message box with one OK button.
  virtual void ShowMessage(const std::string& text) = 0;

  virtual void SetWaitCursor(bool on) = 0;
  // The main window around an external program: disabled while it runs,
  // enabled again by the worker that waits for it. The worker calls it from
  // its own thread, so it must not wait for the user-interface thread.
  virtual void EnableMainWindow(bool enabled) = 0;
  virtual bool IsMainWindowEnabled() = 0;
  // Handles pending window messages once (a no-op without a window).
  virtual void ProcessMessages() = 0;
  virtual void FocusJobName() = 0;
  // Brings the application to the foreground (after an external program).
  virtual void BringToForeground() {}
  // The handle of the application's hidden top-level window, which owns
  // all of its windows (the device component's dialogs too); null without
  // a window.
  virtual void* OwnerWindow() { return nullptr; }
  // A remark the window keeps to itself, such as why a received job was
  // skipped quietly; the command line prints it on stderr.
  virtual void Note(const std::string& /*text*/) {}
};

// The wait cursor for one scope, restored also when the step in it fails.
class ScopedWaitCursor {
 public:
  explicit ScopedWaitCursor(UserInterface& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
  ~ScopedWaitCursor() { ui_.SetWaitCursor(false); }
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace pelixo

#endif  // PELIXO_APP_USER_INTERFACE_H_
