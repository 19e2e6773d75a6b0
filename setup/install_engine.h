// The installation behind "Старт" on the copying page: registry key, meter,
// program group, the copies, the shortcuts, the registry values and the
// uninstall entry, in a fixed order. Every step after the first is tried on
// its own; a failing one is skipped and remembered, so the finish page can
// say what did not happen instead of claiming success.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "deploy/log.h"
#include "kit/control.h"
#include "kit/form.h"
#include "os/os.h"

namespace setup {

class Installer;

// The controls the installation reads and writes.
struct InstallationPage {
  kit::Form& page;           // the copying page, whose meter moves
  kit::Label& Label12;       // receives the installed viewer's path
  kit::Label& Label18;       // the Start-menu folder, then the group path
  const kit::TextBox& Text1; // the destination folder as typed, read at every use
};

struct InstallationHooks {
  // Passes time while waiting for the shell, handling window messages.
  std::function<void(int ms)> wait;
  // Moves the page's meter (look::SetMeterValue unless a test watches it).
  std::function<void(float value, kit::Form& page)> set_meter;
  // The viewer in the destination is running and cannot be replaced: true to
  // try the copy again. Unset: the step fails at once (an unattended run).
  std::function<bool(const std::wstring& viewer)> retry_viewer_in_use;
  // For every user of the machine, as an unattended run installs: the
  // program group in the all-users Start menu with both shortcuts made
  // directly, and "dir" and "Sdir" under HKEY_LOCAL_MACHINE. Otherwise for
  // the installing user, as the wizard installs.
  bool per_machine = false;
  // Where each step is logged; null for none.
  deploy::Log* log = nullptr;
};

struct InstallationResult {
  // What did not happen, in the user's words, in order and without repeats.
  std::vector<std::wstring> failed;
  bool ok() const { return failed.empty(); }
};

// What the wizard asks when the viewer it would replace is running.
std::wstring ViewerInUseQuestion(const std::wstring& viewer);

// The Windows folder with a closing separator; empty when the system gives none.
std::wstring GetWindowsDir(os::Files& files);

InstallationResult RunInstallation(os::Services& os, const InstallationPage& page, const InstallationHooks& hooks);

// The finish page's headline when some steps failed.
std::wstring FailureText(const InstallationResult& result);

// The installation on the installer's own pages, then the finish page (with
// the failure text when something failed): what "Старт" runs.
void RunInstallation(Installer& installer);
// Makes "Старт" run it.
void AttachInstallation(Installer& installer);

}  // namespace setup
