// The Win32 services, one factory each; os::System() bundles them.
#pragma once

#include "os/os.h"

namespace os::win {

Registry& SystemRegistry();
Files& SystemFiles();
Shell& SystemShell();
Power& SystemPower();
Clock& SystemClock();

}  // namespace os::win
