// One contract for the os services. The same tests run against the fakes on
// the host and against the Win32 services under Wine, so that the fakes the
// other areas' tests stand on fail where Windows fails.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "os/os.h"

namespace os_contract {

// A machine to run the contract on, with the few things that differ between
// a fake and the real system.
class Machine {
 public:
  virtual ~Machine() = default;
  virtual os::Services& services() = 0;
  // An empty folder of this machine's own, gone with it.
  virtual std::wstring Scratch() = 0;
  // A key path under HKEY_CURRENT_USER of this machine's own (not made yet),
  // gone with it.
  virtual std::wstring RegistryBase() = 0;
  // Another program holds the file open so that it can be neither replaced
  // nor deleted, until Release.
  virtual void HoldOpen(const std::wstring& path) = 0;
  virtual void Release(const std::wstring& path) = 0;
};

struct MachineFactory {
  const char* name;
  std::function<std::unique_ptr<Machine>()> make;
};
// Names the machine where GoogleTest reports a failure.
inline void PrintTo(const MachineFactory& factory, std::ostream* out) { *out << factory.name; }

class OsContract : public testing::TestWithParam<MachineFactory> {
 protected:
  void SetUp() override { machine_ = GetParam().make(); }
  void TearDown() override { machine_.reset(); }
  Machine& machine() { return *machine_; }
  os::Services& services() { return machine_->services(); }

 private:
  std::unique_ptr<Machine> machine_;
};

}  // namespace os_contract
