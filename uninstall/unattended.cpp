#include "uninstall/unattended.h"

#include "deploy/command_line.h"
#include "deploy/log.h"
#include "kit/platform.h"
#include "uninstall/removal.h"

namespace gorvix {
namespace {

const wchar_t kTitle[] = L"Zentrik Elemora";

}  // namespace

std::optional<int> RunCommandLine(os::Services& os, std::wstring_view arguments, std::wstring* log_path) {
  deploy::ParsedCommandLine parsed = deploy::ParseArguments(arguments, deploy::Program::kUninstall);
  if (!parsed.ok) {
    // A deployment tool has nobody to close a message box.
    if (!deploy::AsksForSilence(arguments))
      kit::CurrentPlatform().MessageBox(parsed.error + L"\n\n" + deploy::UsageText(deploy::Program::kUninstall),
                                        kTitle);
    return deploy::kExitBadCommandLine;
  }
  if (parsed.options.usage) {
    kit::CurrentPlatform().MessageBox(deploy::UsageText(deploy::Program::kUninstall), kTitle);
    return deploy::kExitSuccess;
  }
  if (parsed.options.silent) return RunUnattended(os, parsed.options.log);
  if (log_path) *log_path = parsed.options.log;
  return std::nullopt;
}

int RunUnattended(os::Services& os, const std::wstring& log_path) {
  deploy::Log log(os.files, log_path);
  log.Note(L"Gorvix.exe /S: премахване на Zentrik© Elemora без прозорец");
  Removal removal(os, &log);
  removal.Run();
  return removal.Succeeded() ? deploy::kExitSuccess : deploy::kExitFailed;
}

}  // namespace gorvix
