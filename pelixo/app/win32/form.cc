#include "pelixo/app/win32/form.h"

#include <exception>
#include <vector>

#include "pelixo/app/win32/control_ids.h"
#include "pelixo/app/win32/window_user_interface.h"

namespace pelixo::window {

TForm::~TForm() {
  if (handle_ != nullptr) {
    application_.RemoveForm(handle_);
    DestroyWindow(handle_);
  }
}

void TForm::EnableItems(std::initializer_list<int> ids, bool enabled) const {
  for (int id : ids) EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

bool TForm::CreateForm(HWND owner, const FormLayout& layout) {
  layout_ = layout;
  std::vector<WORD> dialog_template =
      EmptyDialogTemplate(layout.style & ~WS_VISIBLE, layout.ex_style, layout.caption);
  HWND created = CreateDialogIndirectParamA(
      application_.instance(),
      reinterpret_cast<const DLGTEMPLATE*>(dialog_template.data()), owner,
      &TForm::DialogProc, reinterpret_cast<LPARAM>(this));
  if (created == nullptr) return false;
  application_.AddForm(handle_);
  return true;
}

int TForm::ShowModal() {
  HWND owner = GetWindow(handle_, GW_OWNER);
  bool owner_was_enabled = owner != nullptr && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  modal_result_ = 0;
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);
  FocusFirstControl();
  MSG message;
  while (modal_result_ == 0) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    application_.HandleMessage(message);
  }
  // The owner first, so that activation goes back to it.
  if (owner_was_enabled) EnableWindow(owner, TRUE);
  ShowWindow(handle_, SW_HIDE);
  if (owner != nullptr) SetActiveWindow(owner);
  return modal_result_;
}

bool TForm::OnClose() {
  EndModal(kIdCancel);
  return true;
}

void TForm::FocusFirstControl() {
  HWND first = GetNextDlgTabItem(handle_, nullptr, FALSE);
  if (first != nullptr) {
    SendMessageA(handle_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  }
}

INT_PTR CALLBACK TForm::DialogProc(HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam) {
  TForm* form;
  if (message == WM_INITDIALOG) {
    form = reinterpret_cast<TForm*>(lparam);
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    form->handle_ = window;
  } else {
    form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (form == nullptr) return FALSE;
  // A failure never leaves through the window system's frames: it is shown
  // in the standard error box and the window stays ready.
  try {
    return form->HandleMessage(message, wparam, lparam);
  } catch (const std::exception& error) {
    MessageBoxA(window, error.what(), "Error", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxA(window, "Unexpected failure", "Error", MB_OK | MB_ICONERROR);
  }
  return TRUE;
}

INT_PTR TForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      AddControls(handle_, layout_.controls);
      SendMessageA(handle_, DM_SETDEFID, layout_.default_button, 0);
      ControlsCreated();
      SetClientSizeCentred(handle_, layout_.width, layout_.height);
      return FALSE;  // the focus is set when the form is shown
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    case WM_CLOSE:
      return OnClose() ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wparam)) {
        SetWindowLongPtrA(handle_, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    case WM_SETCURSOR:
      if (application_.wait_cursor()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetWindowLongPtrA(handle_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case kEnableMessage:
      EnableWindow(handle_, wparam != 0 ? TRUE : FALSE);
      return TRUE;
    default:
      (void)lparam;
      return FALSE;
  }
}

}  // namespace pelixo::window
