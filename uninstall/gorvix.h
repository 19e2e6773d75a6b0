// The uninstaller program: its window, shown centred at start.
#pragma once

#include "os/os.h"
#include "uninstall/form1.h"

namespace gorvix {

class Gorvix {
 public:
  explicit Gorvix(os::Services& os) : form1(os) { form1.Show(); }
  Form1 form1;
};

}  // namespace gorvix
