// Message boxes of the window, the command lines and the libraries. When a
// switch says so (switches.h), and always on posix, where there is no
// window system of ours, a box prints its text on stderr followed by a line
// feed instead of waiting for a click.
#ifndef PLATFORM_MESSAGE_BOX_H_
#define PLATFORM_MESSAGE_BOX_H_

#include <string>

namespace platform {

enum class BoxIcon { kNone, kError, kWarning, kInformation };

// A box with one OK button, owned by the active window of the process.
void ShowMessageBox(const std::string& text, const std::string& caption,
                    BoxIcon icon);

// True when boxes print on stderr instead of showing a window.
bool BoxesPrintToStderr();

}  // namespace platform

#endif  // PLATFORM_MESSAGE_BOX_H_
