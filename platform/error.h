// Failures are returned, not thrown, across the platform layer: an operation
// gives an Expected<T> holding either its value or the Error that says why.
#ifndef PLATFORM_ERROR_H_
#define PLATFORM_ERROR_H_

#include <string>
#include <utility>
#include <variant>

namespace platform {

class Error {
 public:
  explicit Error(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}  // NOLINT: implicit by design
  Expected(Error error) : state_(std::move(error)) {}  // NOLINT

  explicit operator bool() const { return state_.index() == 0; }
  bool ok() const { return state_.index() == 0; }

  T& value() { return std::get<0>(state_); }
  const T& value() const { return std::get<0>(state_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Error& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

// The result of an operation that yields nothing but success or an Error.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT
  static Status Ok() { return Status(); }

  explicit operator bool() const { return !failed_; }
  bool ok() const { return !failed_; }
  const Error& error() const { return error_; }

 private:
  Error error_{std::string()};
  bool failed_ = false;
};

}  // namespace platform

#endif  // PLATFORM_ERROR_H_
