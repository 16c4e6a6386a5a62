// Large working buffers (a whole input file, a job of a million records): the
// system is asked to back them with large pages where it can, which spares
// tens of thousands of page faults while they are first filled. Only advice:
// nothing changes for the buffer's user, and small buffers are left alone.
#ifndef PLATFORM_MEMORY_H_
#define PLATFORM_MEMORY_H_

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

void AdviseLargeBuffer(void* data, size_t bytes);

// Reserves room for `size` characters (elements) and advises on it.
inline void ReserveLarge(std::string& text, size_t size) {
  text.reserve(size);
  AdviseLargeBuffer(text.data(), text.capacity());
}
template <typename T>
void ReserveLarge(std::vector<T>& list, size_t size) {
  list.reserve(size);
  AdviseLargeBuffer(list.data(), list.capacity() * sizeof(T));
}

}  // namespace platform

#endif  // PLATFORM_MEMORY_H_
