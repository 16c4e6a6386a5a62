#include "tests/pelixo/app/win32/window_driver.h"

#include <cstdio>
#include <vector>

namespace window_test {
namespace {

constexpr DWORD kPollMs = 100;
constexpr UINT kMessageTimeoutMs = 5000;

struct WindowSearch {
  DWORD pid;
  const std::string* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  if (ClassName(window) != "#32770") return TRUE;
  char title[512] = {};
  GetWindowTextA(window, title, sizeof(title));
  if (*search->title != title) return TRUE;
  search->found = window;
  return FALSE;
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &result)) {
    return -1;
  }
  return static_cast<LRESULT>(result);
}

// The file-name field of a common file dialog: the combo box of the
// explorer-style dialog, else the plain edit of the older one.
HWND FileNameField(HWND dialog) {
  for (int id : {0x47C, 0x480}) {
    if (HWND field = GetDlgItem(dialog, id)) return field;
  }
  return nullptr;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM param) {
  auto* texts = reinterpret_cast<std::vector<std::string>*>(param);
  if (ClassName(window) == "Static") {
    std::string text = Text(window);
    if (!text.empty()) texts->push_back(text);
  }
  return TRUE;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\n') {
      quoted += "\\n";
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string State(HWND control) {
  std::string state;
  auto add = [&state](const char* word) {
    if (!state.empty()) state += ",";
    state += word;
  };
  if (!Visible(control)) add("hidden");
  if (!Enabled(control)) add("disabled");
  if (ClassName(control) == "Button" && Checked(control)) add("checked");
  return state.empty() ? "-" : state;
}

}  // namespace

Program::Program(const std::string& exe, const std::string& dir) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  std::string command_line = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                      0, nullptr, dir.c_str(), &startup, &info_)) {
    info_ = {};
  }
}

Program::~Program() {
  if (info_.hProcess == nullptr) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, kPatienceMs);
  }
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

std::optional<DWORD> Program::WaitForExit(DWORD timeout_ms) {
  if (info_.hProcess == nullptr) return std::nullopt;
  if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    WindowSearch search = {pid, &title, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      // Let it finish its first painting.
      Sleep(300);
      return search.found;
    }
    if (GetTickCount() - start > timeout_ms) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitUntilHidden(HWND window, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::string Text(HWND window) {
  LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  LRESULT copied = Send(window, WM_GETTEXT, buffer.size(),
                        reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return std::string();
  return std::string(buffer.data(), static_cast<size_t>(copied));
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

bool Checked(HWND button) {
  return Send(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Rect BoundsIn(HWND control, HWND top_level) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, top_level, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Rect ClientSize(HWND top_level) {
  RECT rect = {};
  GetClientRect(top_level, &rect);
  return {0, 0, rect.right, rect.bottom};
}

Rect WindowBounds(HWND top_level) {
  RECT rect = {};
  GetWindowRect(top_level, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<std::string> DescribeLayout(HWND top_level) {
  std::vector<std::string> lines;
  Rect client = ClientSize(top_level);
  lines.push_back("window " + ClassName(top_level) + " " + Quoted(Text(top_level)) +
                  " client " + std::to_string(client.width) + " " +
                  std::to_string(client.height));
  // Direct children only: a combo box's own parts are not the layout's.
  for (HWND child = GetWindow(top_level, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    Rect r = BoundsIn(child, top_level);
    char place[96];
    std::snprintf(place, sizeof(place), " %d %d %d %d %d ", GetDlgCtrlID(child), r.left,
                  r.top, r.width, r.height);
    lines.push_back(ClassName(child) + place + State(child) + " " + Quoted(Text(child)));
  }
  return lines;
}

std::vector<std::string> ComboItems(HWND combo) {
  // The wide messages: wine hands list texts between processes as wide
  // texts only.
  std::vector<std::string> items;
  LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0,
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length) ||
        static_cast<LRESULT>(length) < 0) {
      length = 0;
    }
    std::vector<wchar_t> wide(length + 1, L'\0');
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG,
                        kMessageTimeoutMs, &ignored);
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof(narrow) - 1,
                        nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

int ComboSelection(HWND combo) {
  LRESULT index = Send(combo, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SelectCombo(HWND combo, int index) {
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(GetParent(combo), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Sleep(kPollMs);
}

void SetEditText(HWND edit, const std::string& text) {
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button) {
  PostMessageA(button, BM_CLICK, 0, 0);
  Sleep(kPollMs);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
    return nullptr;
  }
  return info.hwndFocus;
}

std::optional<std::string> AnswerFileDialog(DWORD pid, const std::string& title,
                                            const std::string& path) {
  HWND dialog = WaitForWindow(pid, title);
  if (dialog == nullptr) return std::nullopt;
  HWND field = FileNameField(dialog);
  if (field == nullptr) return std::nullopt;
  std::string proposed = Text(field);
  SetEditText(field, path);
  Click(GetDlgItem(dialog, IDOK));
  if (!WaitUntilHidden(dialog)) return std::nullopt;
  return proposed;
}

std::optional<std::string> AnswerMessageBox(DWORD pid, const std::string& title) {
  HWND box = WaitForWindow(pid, title);
  if (box == nullptr) return std::nullopt;
  std::vector<std::string> texts;
  EnumChildWindows(box, &CollectStatic, reinterpret_cast<LPARAM>(&texts));
  Click(GetDlgItem(box, IDOK));
  if (!WaitUntilHidden(box)) return std::nullopt;
  std::string joined;
  for (const std::string& text : texts) {
    if (!joined.empty()) joined += "\n";
    joined += text;
  }
  return joined;
}

bool Screenshot(const std::string& unix_dir, const std::string& name, HWND window) {
  // Let the window finish painting after the last change.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  Sleep(700);
  Rect bounds = WindowBounds(window);
  char rect_text[64];
  std::snprintf(rect_text, sizeof(rect_text), "%d %d %d %d\n", bounds.left,
                bounds.top, bounds.width, bounds.height);
  std::string base = unix_dir + "/" + name;
  if (!WriteFileBytes(WindowsPath(base + ".rect"), rect_text)) return false;
  // The picture appears under its name only when complete. Wine starts the
  // Unix program without waiting for it, hence the wait for the file.
  std::string png = WindowsPath(base + ".png");
  DeleteFileA(png.c_str());
  std::string command = "/bin/sh -c \"import -window root " + base +
                        ".part.png && mv " + base + ".part.png " + base + ".png\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return WaitForFile(png);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
    bytes.append(buffer, got);
  }
  std::fclose(file);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

bool WaitForFile(const std::string& path, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  long long last_size = -1;
  for (;;) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
      long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) |
                       data.nFileSizeLow;
      if (size == last_size && size > 0) return true;
      last_size = size;
    }
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(kPollMs * 2);
  }
}

std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace window_test
