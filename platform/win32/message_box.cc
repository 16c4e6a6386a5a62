#include "platform/message_box.h"

#include <windows.h>

#include "platform/backend.h"
#include "platform/switches.h"

namespace platform {

bool BoxesPrintToStderr() {
  for (const char* variable : CurrentSwitches().boxes_on_stderr_variables) {
    if (SwitchValue(variable) == "stderr") return true;
  }
  return false;
}

void ShowMessageBox(const std::string& text, const std::string& caption,
                    BoxIcon icon) {
  if (BoxesPrintToStderr()) {
    backend::PrintBox(text);
    return;
  }
  UINT style = MB_OK;
  switch (icon) {
    case BoxIcon::kNone: break;
    case BoxIcon::kError: style |= MB_ICONERROR; break;
    case BoxIcon::kWarning: style |= MB_ICONWARNING; break;
    case BoxIcon::kInformation: style |= MB_ICONINFORMATION; break;
  }
  MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

}  // namespace platform
