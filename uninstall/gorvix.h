// The uninstaller program: its window, shown centred at start.
#pragma once

#include <string>

#include "os/os.h"
#include "uninstall/form1.h"

namespace gorvix {

class Gorvix {
 public:
  // `log_path`: the file named by /LOG=, or empty.
  explicit Gorvix(os::Services& os, std::wstring log_path = L"") : form1(os, std::move(log_path)) { form1.Show(); }
  Form1 form1;
};

}  // namespace gorvix
