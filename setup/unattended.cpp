#include "setup/unattended.h"

#include "deploy/log.h"
#include "kit/form.h"
#include "setup/install_engine.h"
#include "setup/pages.h"
#include "setup/shell_shortcuts.h"

namespace setup {
namespace {

// "X:\folder..." with no closing separator; nothing for a drive alone, a
// network or relative path, or characters no folder name may hold.
std::optional<std::wstring> DestinationFolder(std::wstring folder) {
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  if (folder.size() < 4 || folder[1] != L':' || folder[2] != L'\\') return std::nullopt;
  wchar_t drive = folder[0];
  if (!((drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z'))) return std::nullopt;
  if (folder.find_first_of(L"/:*?\"<>|", 2) != std::wstring::npos) return std::nullopt;
  return folder;
}

// The destination the engine reads, as the wizard's Text1 holds it.
class Destination : public kit::Form {
 public:
  Destination() : kit::Form("Form4") {}
  kit::TextBox Text1{*this, "Text1"};
};

}  // namespace

int InstallUnattended(os::Services& os, const deploy::Options& options, NumberLocale locale) {
  deploy::Log log(os.files, options.log);
  std::optional<std::wstring> folder = DestinationFolder(options.folder.empty() ? kDefaultDestination : options.folder);
  if (!folder) {
    log.Failed(L"папката за инсталиране не е пълен път на диск: " + options.folder);
    return deploy::kExitBadCommandLine;
  }
  log.Note(L"Zentrik© Elemora 2002®: инсталиране за всички потребители в " + *folder);

  Form5 space(os.files, locale);
  space.Measure(*folder);
  if (!space.SpaceSuffices()) {
    log.Failed(L"свободното място на " + folder->substr(0, 3) + L" е " + std::to_wstring(space.FreeKB / 1000) +
               L" MB; нужни са повече от 10 MB. Нищо не е инсталирано.");
    return deploy::kExitFailed;
  }
  std::wstring levels = *folder;
  CreateNewDirectory(os.files, levels);
  if (!os.files.FolderExists(*folder)) {
    log.Failed(L"папката " + *folder + L" не можа да бъде създадена. Нищо не е инсталирано.");
    return deploy::kExitFailed;
  }
  log.Done(L"папката " + *folder);

  Destination destination;
  destination.Text1.text = *folder;
  Form6 copying;
  InstallationPage page{copying, copying.Label12, copying.Label18, destination.Text1};
  InstallationHooks hooks;
  hooks.wait = [&os](int ms) { os.clock.Sleep(ms); };
  hooks.per_machine = true;
  hooks.log = &log;
  InstallationResult result = RunInstallation(os, page, hooks);
  if (result.ok()) {
    log.Note(L"Инсталацията завърши успешно.");
    return deploy::kExitSuccess;
  }
  log.Note(FailureText(result));
  return deploy::kExitFailed;
}

}  // namespace setup
