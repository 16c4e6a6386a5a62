// Small helpers over the Win32 controls the forms use: creating a control
// at client pixels with the form's font, texts, radio buttons and
// drop-down lists. 8-bit texts throughout (the system code page).
#ifndef PELIXO_APP_WIN32_WINDOW_SUPPORT_H_
#define PELIXO_APP_WIN32_WINDOW_SUPPORT_H_

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace pelixo::window {

struct Bounds {
  int left, top, width, height;
};

// A child control of `parent` at `bounds` (client pixels), visible, with
// the parent's font.
HWND AddControl(HWND parent, int id, const char* window_class,
                const std::string& text, DWORD style, DWORD ex_style,
                Bounds bounds);

// The styles the forms' controls share.
inline constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;
inline constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
inline constexpr DWORD kDefaultButtonStyle = BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP;
inline constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
inline constexpr DWORD kListStyle = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
// The height of a drop-down list, the drop-down part included.
inline constexpr int kListHeight = 200;

// A control as a form lays it out.
struct ControlLayout {
  int id;
  const char* window_class;
  const char* text;
  DWORD style;
  DWORD ex_style;
  Bounds bounds;
};
// Adds `controls` to `parent` in their order, which is the tab order.
void AddControls(HWND parent, std::span<const ControlLayout> controls);

std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);

bool IsChecked(HWND button);
void SetCheck(HWND button, bool checked);

void SetComboItems(HWND combo, const std::vector<std::string>& items);
void AddComboItem(HWND combo, const std::string& item);
int ComboCount(HWND combo);
// -1 is no selection, as for the list itself.
int ComboSelection(HWND combo);
void SelectComboItem(HWND combo, int index);

// Gives the window the outer size for a client area of `width` x `height`
// and puts it in the middle of the screen.
void SetClientSizeCentred(HWND window, int width, int height);

// The width of `text` in the window's font, in pixels.
int TextWidth(HWND window, const std::string& text);

// "About %s" with `value` in place of the first "%s"; a text without one is
// given unchanged (a text library may word it so).
std::string FormatUserText(const std::string& text, const std::string& value);

// An in-memory dialog template without controls: the forms create their
// controls in client pixels themselves. Font "MS Shell Dlg", 8 points.
std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD ex_style,
                                      const std::string& caption);

}  // namespace pelixo::window

#endif  // PELIXO_APP_WIN32_WINDOW_SUPPORT_H_
