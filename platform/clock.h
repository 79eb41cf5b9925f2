#pragma once

namespace platform {

// The local wall clock.
class Clock {
 public:
  virtual ~Clock() = default;

  // Seconds since local midnight, with a fractional part; falls back to 0 at midnight.
  virtual double SecondsSinceMidnight() = 0;
};

}  // namespace platform
