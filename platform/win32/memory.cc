#include "platform/memory.h"

namespace platform {

// Large pages on Windows need a privilege that users do not have: no advice.
void AdviseLargeBuffer(void* /*data*/, size_t /*bytes*/) {}

}  // namespace platform
