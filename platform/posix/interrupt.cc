#include "platform/interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/backend.h"

namespace platform {
namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void OnInterrupt(int signal_number) {
  int saved_errno = errno;
  backend::RemoveTableFiles();
  // Then the signal's own ending: the default action, delivered as soon as
  // this handler returns and the signal is unblocked.
  struct sigaction default_action = {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  raise(signal_number);
  errno = saved_errno;
}

}  // namespace

namespace backend {

void RemoveFileFromHandler(const char* path) { ::unlink(path); }

}  // namespace backend

void RemoveTemporaryFilesOnInterrupt() {
  for (int signal_number : kInterrupts) {
    struct sigaction old_action = {};
    if (sigaction(signal_number, nullptr, &old_action) == 0 &&
        old_action.sa_handler == SIG_IGN) {
      continue;  // e.g. hang-up under nohup
    }
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int other : kInterrupts) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESTART;
    sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace platform
