// A program that is interrupted (Ctrl-C, a terminate or hang-up signal; on
// Windows the console's control events) removes the writer's temporary files
// before it ends, and then ends as the interruption would have ended it.
//
// The writer names each temporary file that exists under a name of its own
// in a fixed table while it exists; the handler removes what the table holds.
// The table needs no lock and no memory of its own, so the handler stays
// safe to run at any moment. A program's `main` installs the handler; a
// library installs none in its host (the writer's files need none for most
// of their life, see file_output.h).
#ifndef PLATFORM_INTERRUPT_H_
#define PLATFORM_INTERRUPT_H_

#include <string>
#include <utility>

namespace platform {

// Installs the handler for the whole process. Interruptions the program was
// started to ignore stay ignored.
void RemoveTemporaryFilesOnInterrupt();

// One entry of the table: `path` is removed should the program be
// interrupted while the object holds it. When the table is full or the path
// too long the file is simply not tracked.
class RemovedOnInterrupt {
 public:
  RemovedOnInterrupt() = default;
  explicit RemovedOnInterrupt(const std::string& path);
  RemovedOnInterrupt(RemovedOnInterrupt&& other) noexcept
      : slot_(std::exchange(other.slot_, -1)) {}
  RemovedOnInterrupt& operator=(RemovedOnInterrupt&& other) noexcept;
  RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
  RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;
  // The path is no longer a temporary file (renamed or removed).
  ~RemovedOnInterrupt() { Release(); }
  void Release();

  bool tracked() const { return slot_ >= 0; }

 private:
  int slot_ = -1;
};

}  // namespace platform

#endif  // PLATFORM_INTERRUPT_H_
