// A form: a dialog window that lives for the whole run and is shown and
// hidden, its controls created in code at client pixels. The dialog manager
// gives the keyboard interface (Tab order = creation order, Enter = the
// default button, Esc = the control with the cancel id).
#ifndef PELIXO_APP_WIN32_FORM_H_
#define PELIXO_APP_WIN32_FORM_H_

#include <windows.h>

#include <initializer_list>
#include <span>
#include <string>

#include "pelixo/app/win32/application.h"
#include "pelixo/app/win32/window_support.h"

namespace pelixo::window {

// What a form is made of: its window styles, caption and client size, and
// its controls in creation order, the default button among them.
struct FormLayout {
  DWORD style;
  DWORD ex_style;
  const char* caption;
  int width, height;
  std::span<const ControlLayout> controls;
  int default_button;
};

// The frame of a form shown modally.
inline constexpr DWORD kModalFormStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kModalFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

class TForm {
 public:
  explicit TForm(TApplication& application) : application_(application) {}
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND handle() const { return handle_; }
  HWND Item(int id) const { return GetDlgItem(handle_, id); }
  // Enables (or disables) the controls `ids`.
  void EnableItems(std::initializer_list<int> ids, bool enabled) const;

  // Shows the form and handles messages until EndModal; the owner is
  // disabled meanwhile. Gives the result passed to EndModal.
  int ShowModal();

 protected:
  // Creates the hidden window of `layout` (whose controls must outlive the
  // form), centred on the screen; ControlsCreated runs inside.
  bool CreateForm(HWND owner, const FormLayout& layout);
  void EndModal(int result) { modal_result_ = result; }

  // What a form sets up once its controls exist.
  virtual void ControlsCreated() {}
  // A WM_COMMAND from a control or the keyboard; true when handled.
  virtual bool OnCommand(int id, int code) = 0;
  // The close box; true when handled. A form ends its modal showing with
  // the cancel id and nothing more: its Cancel button may do more.
  virtual bool OnClose();
  // A system command; true when handled.
  virtual bool OnSysCommand(WPARAM /*command*/) { return false; }
  // Where the keyboard focus goes when the form is shown modally.
  virtual void FocusFirstControl();

  TApplication& application_;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  HWND handle_ = nullptr;
  FormLayout layout_ = {};
  int modal_result_ = 0;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_FORM_H_
