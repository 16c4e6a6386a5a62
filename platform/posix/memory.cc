#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace platform {

void AdviseLargeBuffer(void* data, size_t bytes) {
#ifdef MADV_HUGEPAGE
  // Large pages are 2 MiB here; only whole ones inside the buffer qualify.
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  if (data == nullptr || bytes < 2 * kLargePage) return;
  uintptr_t begin = reinterpret_cast<uintptr_t>(data);
  uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
  if (last <= first) return;
  // Advice that is refused (no large pages configured) changes nothing.
  (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace platform
