// The user interface of the drivers over real Win32 calls: the common open
// and save dialogs, the standard error box, plain message boxes, the wait
// cursor, the main window disabled and enabled around an external program
// while its messages keep being handled, and the focus to the job name.
#ifndef PELIXO_APP_WIN32_WINDOW_USER_INTERFACE_H_
#define PELIXO_APP_WIN32_WINDOW_USER_INTERFACE_H_

#include <windows.h>

#include <optional>
#include <string>

#include "pelixo/app/user_interface.h"
#include "pelixo/app/win32/application.h"

namespace pelixo::window {

// Posted to a form to enable (wparam 1) or disable (0) it from another
// thread; the form's own thread does it.
inline constexpr UINT kEnableMessage = WM_APP + 1;

// The options of an open dialog.
enum class OpenDialogOptions {
  kFileMustExistOnly,  // the send path: only the file-must-exist check
  kStandard,           // the dialog's own defaults
};

// The filter of a file dialog ("Text|*.txt|All|*.*") in the system's form:
// every "|" a zero character, two zero characters at the end.
std::string DialogFilter(const std::string& filter);

class TWindowUserInterface : public UserInterface {
 public:
  explicit TWindowUserInterface(TApplication& application)
      : application_(application) {}

  // The main window and its job-name field, once they exist.
  void SetMainWindow(HWND main_window, HWND job_name_edit) {
    main_window_ = main_window;
    job_name_edit_ = job_name_edit;
  }

  std::optional<std::string> ChooseOpenFile(
      const FileDialogRequest& request) override {
    return ChooseOpenFileWith(request, OpenDialogOptions::kFileMustExistOnly);
  }
  std::optional<std::string> ChooseOpenFileWith(const FileDialogRequest& request,
                                                OpenDialogOptions options);
  std::optional<std::string> ChooseSaveFile(
      const FileDialogRequest& request) override;

  void ShowError(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void SetWaitCursor(bool on) override { application_.SetWaitCursor(on); }
  void EnableMainWindow(bool enabled) override;
  bool IsMainWindowEnabled() override;
  void ProcessMessages() override { application_.ProcessMessagesOrWait(); }
  void FocusJobName() override;
  void BringToForeground() override;
  void* OwnerWindow() override { return application_.handle(); }

 private:
  // The window that owns a dialog or box: the active one of the program,
  // else the main window.
  HWND DialogOwner() const;
  void ShowBox(const std::string& text, const char* caption, UINT icon);

  TApplication& application_;
  HWND main_window_ = nullptr;
  HWND job_name_edit_ = nullptr;
};

// The user interface of the options dialog's Browse: the open dialog keeps
// its standard options; everything else is the main one's.
class TBrowseUserInterface : public UserInterface {
 public:
  explicit TBrowseUserInterface(TWindowUserInterface& main) : main_(main) {}

  std::optional<std::string> ChooseOpenFile(
      const FileDialogRequest& request) override {
    return main_.ChooseOpenFileWith(request, OpenDialogOptions::kStandard);
  }
  std::optional<std::string> ChooseSaveFile(
      const FileDialogRequest& request) override {
    return main_.ChooseSaveFile(request);
  }
  void ShowError(const std::string& text) override { main_.ShowError(text); }
  void ShowMessage(const std::string& text) override { main_.ShowMessage(text); }
  void SetWaitCursor(bool on) override { main_.SetWaitCursor(on); }
  void EnableMainWindow(bool enabled) override { main_.EnableMainWindow(enabled); }
  bool IsMainWindowEnabled() override { return main_.IsMainWindowEnabled(); }
  void ProcessMessages() override { main_.ProcessMessages(); }
  void FocusJobName() override { main_.FocusJobName(); }
  void BringToForeground() override { main_.BringToForeground(); }
  void* OwnerWindow() override { return main_.OwnerWindow(); }

 private:
  TWindowUserInterface& main_;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_WINDOW_USER_INTERFACE_H_
