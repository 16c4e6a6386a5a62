// The library's messages to the user.
#ifndef DANVORA_ALERT_H_
#define DANVORA_ALERT_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/locale.h"  // OwnWords: the words of a message, not its paths

namespace danvora {

inline constexpr char kAlertCaption[] = "DanvoraTrans";

// A message box owned by the active window, caption "DanvoraTrans", an
// exclamation icon and an OK button; returns when the user closes it. In
// automated runs (PELIXO_BOXES=stderr) and on posix the text goes to stderr
// followed by a line feed. The library's own words in `text` go through
// platform::OwnWords, the file names put into it do not.
void alert_user(const std::string& text);

// "Kunne ikke åbne <path>": a file that could not be read or created.
void alert_cannot_open(const std::string& path);
// "Kunne ikke skrive <path>": a file that could not be written whole.
void alert_cannot_write(const std::string& path);
// "Max. antal <what> <limit> nået!": a table of the library is full.
void alert_limit_reached(std::string_view what, size_t limit);

}  // namespace danvora

#endif  // DANVORA_ALERT_H_
