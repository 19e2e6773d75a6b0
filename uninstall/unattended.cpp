#include "uninstall/unattended.h"

#include <cwctype>

#include "deploy/command_line.h"
#include "deploy/log.h"
#include "kit/platform.h"
#include "uninstall/removal.h"

namespace gorvix {
namespace {

const wchar_t kTitle[] = L"Zentrik Elemora";

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Whether a silent switch is among the arguments even where the line as a
// whole is refused: a deployment tool has nobody to close a message box.
bool AsksForSilence(std::wstring_view arguments) {
  size_t i = 0;
  while (i < arguments.size()) {
    while (i < arguments.size() && IsSpace(arguments[i])) ++i;
    size_t start = i;
    while (i < arguments.size() && !IsSpace(arguments[i])) ++i;
    std::wstring token(arguments.substr(start, i - start));
    if (token.size() >= 2 && token.front() == L'"' && token.back() == L'"') token = token.substr(1, token.size() - 2);
    for (wchar_t& c : token) c = static_cast<wchar_t>(std::towupper(c));
    if (token == L"/S" || token == L"/SILENT" || token == L"/VERYSILENT") return true;
  }
  return false;
}

}  // namespace

std::optional<int> RunCommandLine(os::Services& os, std::wstring_view arguments, std::wstring* log_path) {
  deploy::ParsedCommandLine parsed = deploy::ParseArguments(arguments, deploy::Program::kUninstall);
  if (!parsed.ok) {
    if (!AsksForSilence(arguments))
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
