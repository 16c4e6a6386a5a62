// Working Pelixo's windows from another process, as a user would: finding
// the program's top-level windows and their controls, reading texts,
// states and positions, pressing buttons, picking list entries, answering
// the common file dialogs and message boxes, and taking screenshots of the
// virtual display.
#ifndef TESTS_WINDOW_WINDOW_DRIVER_H_
#define TESTS_WINDOW_WINDOW_DRIVER_H_

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace window_test {

// How long the driver waits for a window or a file before it gives up.
inline constexpr DWORD kPatienceMs = 30000;

struct Rect {
  int left, top, width, height;
};

// A started program with its process handle.
class Program {
 public:
  // Starts `exe` in the folder `dir`; check started().
  Program(const std::string& exe, const std::string& dir);
  ~Program();  // ends the program if it still runs
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // Waits for the program's end; its exit code, or nothing on a timeout.
  std::optional<DWORD> WaitForExit(DWORD timeout_ms = kPatienceMs);

 private:
  PROCESS_INFORMATION info_ = {};
};

// The visible top-level dialog window of process `pid` captioned `title`;
// null when none appears in time.
HWND WaitForWindow(DWORD pid, const std::string& title,
                   DWORD timeout_ms = kPatienceMs);
// Waits until `window` is hidden or gone; false on a timeout.
bool WaitUntilHidden(HWND window, DWORD timeout_ms = kPatienceMs);

std::string Text(HWND window);
std::string ClassName(HWND window);
bool Visible(HWND window);
bool Enabled(HWND window);
bool Checked(HWND button);
// The control's bounds in the client area of `parent`'s top-level window,
// or relative to `relative_to` when given (a group box).
Rect BoundsIn(HWND control, HWND top_level);
Rect ClientSize(HWND top_level);
Rect WindowBounds(HWND top_level);

// What the user sees of `top_level`, one line each: first "window", the
// window's class, caption and client size, then every control in creation order
// with its class, id, bounds in the client area, state ("hidden",
// "disabled", "checked", joined by commas; "-" for none) and text in
// quotes (CR and LF written as \r and \n).
std::vector<std::string> DescribeLayout(HWND top_level);

std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
// Selects entry `index` and tells the owner, as the user's choice does.
void SelectCombo(HWND combo, int index);

void SetEditText(HWND edit, const std::string& text);
// Presses a button (posted: the program may start a dialog in the click).
void Click(HWND button);
// The control that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);

// Waits for the file dialog `title` of `pid`, gives back the file name it
// proposes and confirms it with `path` typed in; nothing when the dialog
// did not appear.
std::optional<std::string> AnswerFileDialog(DWORD pid, const std::string& title,
                                            const std::string& path);
// Waits for the message box `title` of `pid`, gives back its text and
// presses its OK button; nothing when no box appeared.
std::optional<std::string> AnswerMessageBox(DWORD pid, const std::string& title);

// Saves a picture of the whole display as <dir>/<name>.png (`dir` a Unix
// path) and the bounds of `window` on the screen as <dir>/<name>.rect, for
// the check that the picture is not blank; false when no picture came.
bool Screenshot(const std::string& unix_dir, const std::string& name, HWND window);

// File helpers on Windows paths.
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Waits until `path` exists and its size has stopped changing.
bool WaitForFile(const std::string& path, DWORD timeout_ms = kPatienceMs);
// The Windows path of a Unix path (through drive Z:).
std::string WindowsPath(const std::string& unix_path);

}  // namespace window_test

#endif  // TESTS_WINDOW_WINDOW_DRIVER_H_
