#include "platform/message_box.h"

#include <cstdio>

#include "platform/backend.h"

namespace platform {

namespace backend {

// Shared by both backends: a box printed on stderr for automated runs.
void PrintBox(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace backend
}  // namespace platform
