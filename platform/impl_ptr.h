// The owner of a backend's state behind a class of a shared header. The
// deleter is taken where the backend makes the state, so the owning class
// is moved and destroyed by its implicit members while its Impl stays
// incomplete everywhere else.
#ifndef PLATFORM_IMPL_PTR_H_
#define PLATFORM_IMPL_PTR_H_

#include <memory>
#include <utility>

namespace platform {

template <typename Impl>
using ImplPtr = std::unique_ptr<Impl, void (*)(Impl*)>;

template <typename Impl, typename... Args>
ImplPtr<Impl> MakeImpl(Args&&... args) {
  return ImplPtr<Impl>(new Impl(std::forward<Args>(args)...),
                       [](Impl* impl) { delete impl; });
}

}  // namespace platform

#endif  // PLATFORM_IMPL_PTR_H_
