#pragma once

#include <optional>
#include <string>
#include <utility>

namespace platform {

// The outcome of a platform operation: success, or a failure carrying the platform's own
// description text of what went wrong (strerror on POSIX, FormatMessage on Windows). The engine
// also refuses a copy with a Status of its own, whose text is the program's own sentence.
class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Failure(std::string text) {
    Status status;
    status.failed_ = true;
    status.text_ = std::move(text);
    return status;
  }

  bool ok() const { return !failed_; }
  // The failure's description text; empty on success.
  const std::string& text() const { return text_; }

 private:
  bool failed_ = false;
  std::string text_;
};

// A value, or the failure that prevented it.
template <class T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Status failure) : status_(std::move(failure)) {}

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  // Only valid when ok().
  const T& value() const { return *value_; }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace platform
