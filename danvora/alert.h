// The library's messages to the user.
#ifndef DANVORA_ALERT_H_
#define DANVORA_ALERT_H_

#include <string>

#include "platform/locale.h"  // OwnWords: the words of a message, not its paths

namespace danvora {

inline constexpr char kAlertCaption[] = "DanvoraTrans";

// A message box owned by the active window, caption "DanvoraTrans", an
// exclamation icon and an OK button; returns when the user closes it. In
// automated runs (PELIXO_BOXES=stderr) and on posix the text goes to stderr
// followed by a line feed. The library's own words in `text` go through
// platform::OwnWords, the file names put into it do not.
void alert_user(const std::string& text);

}  // namespace danvora

#endif  // DANVORA_ALERT_H_
