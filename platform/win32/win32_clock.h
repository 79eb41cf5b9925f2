#pragma once

#include "platform/clock.h"

namespace platform::win32 {

// The local time of day from GetLocalTime, to the millisecond.
class Win32Clock : public Clock {
 public:
  double SecondsSinceMidnight() override;
};

}  // namespace platform::win32
