// Shutting the machine down: the installer's restart question.
#pragma once

namespace os {

class Power {
 public:
  virtual ~Power() = default;
  // Enables SeShutdownPrivilege in the process token (access 0x28, one
  // privilege entry with SE_PRIVILEGE_ENABLED). Failures are ignored.
  virtual void EnableShutdownPrivilege() = 0;
  // ExitWindowsEx(EWX_REBOOT, 0xFFFFFFFF): asks for a restart, does not wait.
  virtual bool RequestRestart() = 0;
};

}  // namespace os
