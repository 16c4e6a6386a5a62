#include "danvora/alert.h"

#include "platform/message_box.h"

namespace danvora {

void alert_user(const std::string& text) {
  platform::ShowMessageBox(text, kAlertCaption, platform::BoxIcon::kWarning);
}

}  // namespace danvora
