// Windows Installer's record of the products it installed. The question is
// put to msi.dll, loaded only when asked, so that the programs still import
// nothing beyond the DLLs every Windows has mapped at start.
#pragma once

#include <string>

namespace os {

class Packages {
 public:
  virtual ~Packages() = default;
  // Whether a product of this UpgradeCode ("{XXXXXXXX-...}") is installed,
  // per machine or for this user. False where Windows Installer is missing.
  virtual bool RelatedProductInstalled(const std::wstring& upgrade_code) = 0;
};

// The Win32 implementation (Windows builds only).
Packages& SystemPackages();

}  // namespace os
