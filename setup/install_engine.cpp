#include "setup/install_engine.h"

#include <algorithm>

#include "deploy/product.h"
#include "kit/color.h"
#include "kit/platform.h"
#include "look/meter.h"
#include "setup/registry_access.h"
#include "setup/shell_shortcuts.h"
#include "setup/wizard.h"

namespace setup {

namespace {

struct Copy {
  const wchar_t* name;
  bool optional;  // shared components: copied only when they ship beside the installer
};

constexpr Copy kComponents[] = {
    {L"Scrrun.dll", true}, {L"msdxm.ocx", true}, {L"Msvcrt.dll", true}, {L"Mscomctl.ocx", true}, {L"dao360.dll", true},
};

constexpr wchar_t kUninstallEntry[] = L"записа в списъка на инсталираните програми";

class Run {
 public:
  Run(os::Services& os, const InstallationPage& page, const InstallationHooks& hooks)
      : os_(os), page_(page), hooks_(hooks) {}

  // `what` names the step as the finish page lists what failed; `detail`
  // adds what the log should say (the file, the reason's code).
  void Step(bool ok, const std::wstring& what, const std::wstring& detail = L"", long code = 0) {
    if (hooks_.log) {
      std::wstring line = detail.empty() ? what : what + L": " + detail;
      ok ? hooks_.log->Done(line) : hooks_.log->Failed(line, code);
    }
    if (ok || std::find(result_.failed.begin(), result_.failed.end(), what) != result_.failed.end()) return;
    result_.failed.push_back(what);
  }

  void Meter(float value) {
    if (hooks_.set_meter) hooks_.set_meter(value, page_.page);
  }

  // A whole-file copy from beside the installer; a missing optional source
  // is no failure. True when the file was copied.
  bool CopyFile(const std::wstring& folder, const std::wstring& name, const std::wstring& to, bool optional) {
    std::wstring from = folder + L"\\" + name;
    if (optional && !os_.files.FileExists(from)) return false;
    long result = os_.files.CopyFileResult(from, to);
    // Only a viewer running where it would be replaced is worth a question
    // (it also holds its database open): the user can close it and try
    // again. Declined once, it is not asked about again.
    const bool viewer_file = name == deploy::kViewerFile || name == deploy::kDatabaseFile;
    while (result != 0 && viewer_file && hooks_.retry_viewer_in_use && !viewer_declined_ &&
           os_.files.FileInUse(to)) {
      if (!hooks_.retry_viewer_in_use(page_.Text1.text + L"\\" + deploy::kViewerFile)) {
        viewer_declined_ = true;
        break;
      }
      result = os_.files.CopyFileResult(from, to);
    }
    Step(result == 0, L"копирането на " + name, to, result);
    return result == 0;
  }

  // The group for every user: made level by level as the destination is.
  bool PrepareCommonGroup() {
    auto programs = SpecialFolderPath(os_.shell, os::kCsidlCommonPrograms);
    if (!programs || programs->empty()) return false;
    std::wstring group = *programs + L"\\" + deploy::kProgramGroup + L"\\";
    page_.Label18.caption = group;
    CreateNewDirectory(os_.files, group);
    return os_.files.FolderExists(group);
  }

  // The size of the product's own files that were copied, in whole
  // kilobytes rounded up, as the list of installed programs shows it.
  std::int32_t EstimatedKilobytes(const std::vector<std::wstring>& copied) {
    std::uint64_t bytes = 0;
    for (const std::wstring& file : copied) bytes += os_.files.FileSize(file).value_or(0);
    std::uint64_t kb = (bytes + 1023) / 1024;
    return static_cast<std::int32_t>(std::min<std::uint64_t>(kb, 0x7FFFFFFF));
  }

  void WriteUninstallEntry(const std::wstring& viewer, const std::wstring& uninstaller, std::int32_t kilobytes) {
    using namespace deploy::entry;
    os::Registry& reg = os_.registry;
    Step(CreateRegistryKey(reg, deploy::kUninstallKey, os::RootKey::kLocalMachine), kUninstallEntry,
         deploy::kUninstallKey);
    auto value = [&](const wchar_t* name, const ValueHolder& value, std::uint32_t type) {
      std::wstring shown = type == os::kRegDword ? std::to_wstring(value.Number().value_or(0)) : value.Text();
      Step(SetMachineValue(reg, deploy::kUninstallKey, name, value, type), kUninstallEntry, name + (L" = " + shown));
    };
    value(kDisplayName, deploy::kEntryName, os::kRegSz);
    value(kUninstallString, uninstaller, os::kRegSz);
    // What the list of installed programs shows beside the name, and how a
    // deployment tool removes the product without a window.
    value(kDisplayIcon, viewer, os::kRegSz);
    value(kDisplayVersion, deploy::kEntryVersion, os::kRegSz);
    value(kPublisher, deploy::kEntryPublisher, os::kRegSz);
    value(kInstallLocation, page_.Text1, os::kRegSz);
    value(kQuietUninstallString, L"\"" + uninstaller + L"\" /S", os::kRegSz);
    value(kEstimatedSize, kilobytes, os::kRegDword);
    value(kInstallDate, std::to_wstring(os_.clock.LocalDate()), os::kRegSz);
    value(kNoModify, 1, os::kRegDword);
    value(kNoRepair, 1, os::kRegDword);
  }

  InstallationResult Go() {
    os::Registry& reg = os_.registry;
    const bool machine = hooks_.per_machine;
    const os::RootKey product_root = machine ? os::RootKey::kLocalMachine : os::RootKey::kCurrentUser;
    Step(CreateRegistryKey(reg, deploy::kProductKey, product_root), L"ключа на програмата в регистъра");
    look::InitMeter(page_.page, kit::Rgb(0, 168, 128), kit::Rgb(255, 255, 255));
    Step(machine ? PrepareCommonGroup() : PrepareProgramGroup(os_.shell, os_.files, page_.Label18),
         L"програмната група в менюто Старт", page_.Label18.caption);
    Meter(10);
    Meter(33);
    const std::wstring windows = GetWindowsDir(os_.files);
    const std::wstring source = os_.files.ProgramFolder();
    for (const Copy& copy : kComponents) {
      CopyFile(source, copy.name, windows + L"System\\" + copy.name, copy.optional);
    }
    // The product's own files, as copied (the shared components are not).
    std::vector<std::wstring> copied;
    auto copy_own = [&](const wchar_t* name, const std::wstring& to) {
      if (CopyFile(source, name, to, false)) copied.push_back(to);
    };
    copy_own(deploy::kViewerFile, page_.Text1.text + L"\\" + deploy::kViewerFile);
    Meter(90);
    copy_own(deploy::kDatabaseFile, page_.Text1.text + L"\\" + deploy::kDatabaseFile);
    Meter(96);
    copy_own(deploy::kUninstallerFile, windows + deploy::kUninstallerFile);
    Meter(97);
    page_.Label12.caption = page_.Text1.text + L"\\" + deploy::kViewerFile;

    // The shortcut and its icon name the viewer that was installed.
    const std::wstring viewer = page_.Label12.caption;

    std::optional<std::wstring> group;
    if (machine) {
      if (!page_.Label18.caption.empty()) group = page_.Label18.caption;
    } else if (auto start = StartMenu(os_.shell)) {
      group = *start + kGroupSuffix;
    }
    const std::wstring named_link = group ? *group + deploy::kShortcutName : L"";
    Step(group && CreateShortcut(os_.shell, named_link, L"Zentrik® Периодична Система на елементите", viewer, L"", L"",
                                 L"", viewer, 0),
         L"прекия път „Zentrik® Elemora 2002“", named_link);
    if (!machine) Step(SetGroupPathLabel(os_.shell, page_.Label18), L"пътя на програмната група");
    auto record = [&](const wchar_t* name, const ValueHolder& value, const std::wstring& shown) {
      const bool written = machine ? SetMachineValue(reg, deploy::kProductKey, name, value, os::kRegSz)
                                   : SetUserValue(reg, deploy::kProductKey, name, value, os::kRegSz);
      Step(written, L"стойността " + std::wstring(name) + L" в регистъра", shown);
    };
    record(deploy::kFolderRecord, page_.Text1, page_.Text1.text);
    record(deploy::kGroupRecord, page_.Label18, page_.Label18.caption);

    WriteUninstallEntry(viewer, windows + deploy::kUninstallerFile, EstimatedKilobytes(copied));
    Meter(100);
    const std::wstring table_link = L"прекия път „Table.exe“ в програмната група";
    if (machine) {
      // Made directly: the system account that deployment tools run as may
      // keep no recent documents to copy the shortcut from.
      const std::wstring link = group ? *group + deploy::kViewerShortcutName : L"";
      Step(group && CreateShortcut(os_.shell, link, L"", viewer, L"", page_.Text1.text, L"", viewer, 0), table_link,
           link);
    } else {
      Step(CopyRecentShortcutToGroup(os_, page_.Label12.caption, hooks_.wait), table_link);
    }
    return result_;
  }

 private:
  os::Services& os_;
  const InstallationPage& page_;
  const InstallationHooks& hooks_;
  InstallationResult result_;
  bool viewer_declined_ = false;
};

}  // namespace

std::wstring GetWindowsDir(os::Files& files) {
  std::wstring folder = files.WindowsDirectory();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

InstallationResult RunInstallation(os::Services& os, const InstallationPage& page, const InstallationHooks& hooks) {
  return Run(os, page, hooks).Go();
}

std::wstring ViewerInUseQuestion(const std::wstring& viewer) {
  return L"Периодичната система е отворена и не може да бъде заменена: " + viewer +
         L". Затворете я и опитайте отново.";
}

std::wstring FailureText(const InstallationResult& result) {
  std::wstring text = L"Инсталацията завърши с грешки. Не бяха създадени: ";
  for (size_t i = 0; i < result.failed.size(); ++i) {
    if (i) text += L", ";
    text += result.failed[i];
  }
  return text + L".";
}

void RunInstallation(Installer& installer) {
  Form6& copying = installer.form6();
  Form4& destination = installer.form4();
  InstallationPage page{copying, copying.Label12, copying.Label18, destination.Text1};
  InstallationHooks hooks;
  hooks.wait = [](int ms) { kit::CurrentPlatform().WaitProcessingMessages(ms); };
  hooks.set_meter = [](float value, kit::Form& form) { look::SetMeterValue(value, form); };
  hooks.retry_viewer_in_use = [](const std::wstring& viewer) {
    return kit::CurrentPlatform().AskRetry(ViewerInUseQuestion(viewer), L"Zentrik Elemora");
  };
  InstallationResult result = RunInstallation(installer.Os(), page, hooks);
  if (!result.ok()) {
    Form7& finish = installer.form7();
    finish.Label14.caption = FailureText(result);
    finish.Label14.font.points = 12;
  }
  installer.ShowFinishPage();
}

void AttachInstallation(Installer& installer) {
  installer.run_installation = [&installer] { RunInstallation(installer); };
}

}  // namespace setup
