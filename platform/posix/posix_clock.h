#pragma once

#include "platform/clock.h"

namespace platform::posix {

// The local wall clock, read from the real-time clock and the local time zone.
class PosixClock : public Clock {
 public:
  double SecondsSinceMidnight() override;
};

}  // namespace platform::posix
