#include "platform/message_box.h"

#include "platform/backend.h"

namespace platform {

bool BoxesPrintToStderr() { return true; }

void ShowMessageBox(const std::string& text, const std::string& /*caption*/,
                    BoxIcon /*icon*/) {
  backend::PrintBox(text);
}

}  // namespace platform
