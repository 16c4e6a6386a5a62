#include "platform/interrupt.h"

#include <atomic>
#include <cstring>

#include "platform/backend.h"

namespace platform {
namespace {

constexpr int kSlots = 64;
constexpr size_t kMaxPath = 4096;

enum SlotState : int {
  kFree = 0,
  kFilling = 1,  // being written or cleared: the handler passes it by
  kLive = 2,     // holds the path of a temporary file
  kTaken = 3,    // the handler is removing it; never reused
};

struct Slot {
  std::atomic<int> state{kFree};
  char path[kMaxPath];
};
static_assert(std::atomic<int>::is_always_lock_free,
              "the interrupt handler may only touch lock-free atomics");

// The process-wide table of temporary files, shared by every writer and the
// interrupt handler.
Slot interrupt_table[kSlots];

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(const std::string& path) {
  if (path.size() >= kMaxPath) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!interrupt_table[i].state.compare_exchange_strong(expected, kFilling)) {
      continue;
    }
    std::memcpy(interrupt_table[i].path, path.c_str(), path.size() + 1);
    interrupt_table[i].state.store(kLive, std::memory_order_release);
    slot_ = i;
    return;
  }
}

RemovedOnInterrupt& RemovedOnInterrupt::operator=(
    RemovedOnInterrupt&& other) noexcept {
  if (this != &other) {
    Release();
    slot_ = other.slot_;
    other.slot_ = -1;
  }
  return *this;
}

void RemovedOnInterrupt::Release() {
  if (slot_ < 0) return;
  // A slot the handler has taken stays taken: the program is ending.
  int expected = kLive;
  interrupt_table[slot_].state.compare_exchange_strong(expected, kFree);
  slot_ = -1;
}

namespace backend {

void RemoveTableFiles() {
  for (Slot& slot : interrupt_table) {
    int expected = kLive;
    if (slot.state.compare_exchange_strong(expected, kTaken,
                                           std::memory_order_acquire)) {
      RemoveFileFromHandler(slot.path);
    }
  }
}

}  // namespace backend
}  // namespace platform
