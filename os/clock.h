// Wall-clock time and sleeping, behind an interface so that the pauses of
// the programs run instantly in tests.
#pragma once

#include <cstdint>

namespace os {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current date and time in whole seconds (the resolution the
  // uninstaller's pauses are counted in).
  virtual std::int64_t NowSeconds() = 0;
  virtual std::int64_t NowMilliseconds() = 0;
  // Today's date on the machine's calendar, as the number YYYYMMDD.
  virtual int LocalDate() = 0;
  // Sleeps without processing window messages.
  virtual void Sleep(int ms) = 0;
};

}  // namespace os
