// The operating-system services a program uses, bundled so that a program
// takes one object: the real ones on Windows, fakes in tests.
#pragma once

#include "os/clock.h"
#include "os/files.h"
#include "os/power.h"
#include "os/registry.h"
#include "os/shell.h"

namespace os {

struct Services {
  Registry& registry;
  Files& files;
  Shell& shell;
  Power& power;
  Clock& clock;
};

// The Win32 implementations (Windows builds only).
Services& System();

}  // namespace os
