#include "pelixo/app/win32/window_user_interface.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/message_box.h"

namespace pelixo::window {
namespace {

// Room for the chosen path (several folders deep on a network share).
constexpr size_t kPathBufferChars = 4096;

// Delphi-style dialogs resize; these are the standard options of both.
constexpr DWORD kStandardDialogOptions = OFN_HIDEREADONLY | OFN_ENABLESIZING;

struct FileDialogStrings {
  std::string filter;
  std::vector<char> file;
};

void PrepareDialog(const FileDialogRequest& request, HWND owner,
                   FileDialogStrings* strings, OPENFILENAMEA* dialog) {
  strings->filter = DialogFilter(request.filter);
  strings->file.assign(kPathBufferChars, '\0');
  request.file_name.copy(strings->file.data(),
                         std::min(request.file_name.size(), kPathBufferChars - 1));
  *dialog = OPENFILENAMEA{};
  dialog->lStructSize = sizeof(OPENFILENAMEA);
  dialog->hwndOwner = owner;
  dialog->lpstrFilter = strings->filter.empty() ? nullptr : strings->filter.c_str();
  dialog->nFilterIndex = 1;
  dialog->lpstrFile = strings->file.data();
  dialog->nMaxFile = static_cast<DWORD>(strings->file.size());
  dialog->lpstrInitialDir = request.initial_directory.empty()
                                ? nullptr
                                : request.initial_directory.c_str();
  dialog->lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  dialog->lpstrDefExt = request.default_extension.empty()
                            ? nullptr
                            : request.default_extension.c_str();
}

}  // namespace

std::string DialogFilter(const std::string& filter) {
  if (filter.empty()) return std::string();
  std::string result = filter;
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.push_back('\0');
  // std::string keeps one more zero character after its end: the second.
  return result;
}

std::optional<std::string> TWindowUserInterface::ChooseOpenFileWith(
    const FileDialogRequest& request, OpenDialogOptions options) {
  FileDialogStrings strings;
  OPENFILENAMEA dialog;
  PrepareDialog(request, DialogOwner(), &strings, &dialog);
  dialog.Flags = options == OpenDialogOptions::kFileMustExistOnly
                     ? OFN_FILEMUSTEXIST
                     : kStandardDialogOptions;
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  return std::string(strings.file.data());
}

std::optional<std::string> TWindowUserInterface::ChooseSaveFile(
    const FileDialogRequest& request) {
  FileDialogStrings strings;
  OPENFILENAMEA dialog;
  PrepareDialog(request, DialogOwner(), &strings, &dialog);
  // No overwrite prompt: an existing file is replaced without a question.
  dialog.Flags = kStandardDialogOptions;
  if (!GetSaveFileNameA(&dialog)) return std::nullopt;
  return std::string(strings.file.data());
}

HWND TWindowUserInterface::DialogOwner() const {
  HWND active = GetActiveWindow();
  return active != nullptr ? active : main_window_;
}

void TWindowUserInterface::ShowBox(const std::string& text, const char* caption,
                                   UINT icon) {
  if (platform::BoxesPrintToStderr()) {
    platform::ShowMessageBox(text, caption,
                             icon == MB_ICONERROR ? platform::BoxIcon::kError
                                                  : platform::BoxIcon::kNone);
    return;
  }
  MessageBoxA(DialogOwner(), text.c_str(), caption, MB_OK | icon);
}

void TWindowUserInterface::ShowError(const std::string& text) {
  ShowBox(text, "Error", MB_ICONERROR);
}

void TWindowUserInterface::ShowMessage(const std::string& text) {
  ShowBox(text, "Pelixo", 0);
}

void TWindowUserInterface::EnableMainWindow(bool enabled) {
  // From the worker thread this only posts: the user-interface thread may
  // be inside its wait, and EnableWindow across threads would wait for it.
  if (main_window_ == nullptr) return;
  if (GetWindowThreadProcessId(main_window_, nullptr) == GetCurrentThreadId()) {
    EnableWindow(main_window_, enabled ? TRUE : FALSE);
  } else {
    PostMessageA(main_window_, kEnableMessage, enabled ? 1 : 0, 0);
  }
}

bool TWindowUserInterface::IsMainWindowEnabled() {
  return main_window_ == nullptr || IsWindowEnabled(main_window_);
}

void TWindowUserInterface::FocusJobName() {
  if (main_window_ != nullptr && job_name_edit_ != nullptr) {
    SendMessageA(main_window_, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(job_name_edit_), TRUE);
  }
}

void TWindowUserInterface::BringToForeground() {
  application_.BringToForeground(main_window_);
}

}  // namespace pelixo::window
