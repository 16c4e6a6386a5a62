// A form: a dialog window that lives for the whole run and is shown and
// hidden, its controls created in code at client pixels. The dialog manager
// gives the keyboard interface (Tab order = creation order, Enter = the
// default button, Esc = the control with the cancel id).
#ifndef PELIXO_APP_WIN32_FORM_H_
#define PELIXO_APP_WIN32_FORM_H_

#include <windows.h>

#include <string>

#include "pelixo/app/win32/application.h"
#include "pelixo/app/win32/window_support.h"

namespace pelixo::window {

class TForm {
 public:
  explicit TForm(TApplication& application) : application_(application) {}
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND handle() const { return handle_; }
  HWND Item(int id) const { return GetDlgItem(handle_, id); }

  // Shows the form and handles messages until EndModal; the owner is
  // disabled meanwhile. Gives the result passed to EndModal.
  int ShowModal();

 protected:
  // Creates the hidden window with a client area of `width` x `height`,
  // centred on the screen; CreateControls runs inside.
  bool CreateForm(HWND owner, DWORD style, DWORD ex_style,
                  const std::string& caption, int width, int height);
  void EndModal(int result) { modal_result_ = result; }
  bool in_modal() const { return in_modal_; }

  virtual void CreateControls() = 0;
  // A WM_COMMAND from a control or the keyboard; true when handled.
  virtual bool OnCommand(int id, int code) = 0;
  // The close box; true when handled (otherwise it arrives as the cancel
  // id, as the dialog manager does it).
  virtual bool OnClose() { return false; }
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
  int width_ = 0, height_ = 0;
  int modal_result_ = 0;
  bool in_modal_ = false;
};

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_FORM_H_
