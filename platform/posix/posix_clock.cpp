#include "platform/posix/posix_clock.h"

#include <time.h>

namespace platform::posix {

double PosixClock::SecondsSinceMidnight() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  if (!localtime_r(&now.tv_sec, &local)) return 0;
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

}  // namespace platform::posix
