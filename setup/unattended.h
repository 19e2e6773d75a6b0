// The installation as deployment tools run it (Setup.exe /S): no window, no
// question, no restart, and an exit code. It is for every user of the machine:
// the program group in the all-users Start menu and the records under
// HKEY_LOCAL_MACHINE, since the account that runs it is rarely a pupil's.
// The steps are the wizard's (one engine), the meter aside.
#pragma once

#include "deploy/command_line.h"
#include "os/os.h"
#include "setup/number_format.h"

namespace setup {

inline constexpr wchar_t kDefaultDestination[] = L"C:\\Program Files\\Zentrik";

// Checks the destination's drive as the disk-space page does, makes the
// destination's folders level by level, then installs. Returns
// deploy::kExitSuccess, kExitFailed (some step failed, or nothing was
// installed for lack of space or folder), or kExitBadCommandLine for a
// destination that is not a folder path on a drive.
int InstallUnattended(os::Services& os, const deploy::Options& options, NumberLocale locale);

}  // namespace setup
