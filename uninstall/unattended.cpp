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
  deploy::Options options;
  auto show = [](const std::wstring& text, bool) { kit::CurrentPlatform().MessageBox(text, kTitle); };
  if (auto exit_code = deploy::AnswerCommandLine(arguments, deploy::Program::kUninstall, &options, show))
    return exit_code;
  if (options.silent) return RunUnattended(os, options.log);
  if (log_path) *log_path = options.log;
  return std::nullopt;
}

int RunUnattended(os::Services& os, const std::wstring& log_path) {
  deploy::Log log(os.files, log_path);
  log.Note(L"Gorvix.exe /S: премахване на Zentrik© Elemora без прозорец");
  Removal removal(os, log);
  removal.Run();
  return removal.Succeeded() ? deploy::kExitSuccess : deploy::kExitFailed;
}

}  // namespace gorvix
