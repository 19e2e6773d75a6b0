// Windows Installer's products for host tests: what `installed` holds is installed.
#pragma once

#include <set>
#include <vector>
#include <string>

#include "os/packages.h"

namespace os::fake {

class FakePackages : public Packages {
 public:
  bool RelatedProductInstalled(const std::wstring& upgrade_code) override {
    asked.push_back(upgrade_code);
    return installed.count(upgrade_code) > 0;
  }
  std::set<std::wstring> installed;  // upgrade codes
  std::vector<std::wstring> asked;
};

}  // namespace os::fake
