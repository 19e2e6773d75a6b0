#include "os/system_win.h"

namespace os {

Services& System() {
  static Services services{win::SystemRegistry(), win::SystemFiles(), win::SystemShell(), win::SystemPower(),
                           win::SystemClock()};
  return services;
}

}  // namespace os
