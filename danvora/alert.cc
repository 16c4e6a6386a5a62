#include "danvora/alert.h"

#include "platform/message_box.h"
#include "text/format.h"

namespace danvora {

void alert_user(const std::string& text) {
  platform::ShowMessageBox(text, kAlertCaption, platform::BoxIcon::kWarning);
}

void alert_cannot_open(const std::string& path) {
  alert_user(platform::OwnWords("Kunne ikke \xE5" "bne ") + path);
}

void alert_cannot_write(const std::string& path) {
  alert_user(platform::OwnWords("Kunne ikke skrive ") + path);
}

void alert_limit_reached(std::string_view what, size_t limit) {
  alert_user(platform::OwnWords(text::Format("Max. antal %s %d n\xE5" "et!",
                                             what, static_cast<int>(limit))));
}

}  // namespace danvora
