#include "pelixo/app/win32/window_support.h"

#include <commctrl.h>

namespace pelixo::window {

HWND AddControl(HWND parent, int id, const char* window_class,
                const std::string& text, DWORD style, DWORD ex_style,
                Bounds bounds) {
  HWND control = CreateWindowExA(
      ex_style, window_class, text.c_str(), style | WS_CHILD | WS_VISIBLE,
      bounds.left, bounds.top, bounds.width, bounds.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
      nullptr);
  if (control != nullptr) {
    SendMessageA(control, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0),
                 FALSE);
  }
  return control;
}

void AddControls(HWND parent, std::span<const ControlLayout> controls) {
  for (const ControlLayout& control : controls) {
    AddControl(parent, control.id, control.window_class, control.text, control.style,
               control.ex_style, control.bounds);
  }
}

std::string GetText(HWND window) {
  int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void SetText(HWND window, const std::string& text) {
  SetWindowTextA(window, text.c_str());
}

bool IsChecked(HWND button) {
  return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND button, bool checked) {
  SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SetComboItems(HWND combo, const std::vector<std::string>& items) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) AddComboItem(combo, item);
}

void AddComboItem(HWND combo, const std::string& item) {
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ComboCount(HWND combo) {
  return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
}

int ComboSelection(HWND combo) {
  LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SelectComboItem(HWND combo, int index) {
  // An index the list does not have clears the selection.
  if (index < 0 || index >= ComboCount(combo)) index = -1;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetClientSizeCentred(HWND window, int width, int height) {
  RECT rect = {0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                     FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  int outer_width = rect.right - rect.left;
  int outer_height = rect.bottom - rect.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2;
  SetWindowPos(window, nullptr, left, top, outer_width, outer_height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int TextWidth(HWND window, const std::string& text) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return 0;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old != nullptr) SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cx;
}

std::string FormatUserText(const std::string& text, const std::string& value) {
  std::string::size_type at = text.find("%s");
  if (at == std::string::npos) return text;
  return text.substr(0, at) + value + text.substr(at + 2);
}

namespace {

void AppendWide(std::vector<WORD>* words, const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(),
                                   static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                        wide.data(), length);
  }
  for (wchar_t c : wide) words->push_back(static_cast<WORD>(c));
  words->push_back(0);
}

}  // namespace

std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD ex_style,
                                      const std::string& caption) {
  // DLGTEMPLATE: style, extended style, control count, x, y, cx, cy, then
  // menu, class, title and the font; WORD-aligned throughout.
  std::vector<WORD> words;
  style |= DS_SETFONT;
  words.push_back(LOWORD(style));
  words.push_back(HIWORD(style));
  words.push_back(LOWORD(ex_style));
  words.push_back(HIWORD(ex_style));
  words.push_back(0);                       // no controls
  for (int i = 0; i < 4; ++i) words.push_back(0);  // placed in code
  words.push_back(0);                       // no menu
  words.push_back(0);                       // the standard dialog class
  AppendWide(&words, caption);
  words.push_back(8);                       // point size
  AppendWide(&words, "MS Shell Dlg");
  return words;
}

}  // namespace pelixo::window
