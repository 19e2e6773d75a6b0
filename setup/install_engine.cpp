#include "setup/install_engine.h"

#include <algorithm>

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

  void Step(bool ok, const std::wstring& what) {
    if (ok || std::find(result_.failed.begin(), result_.failed.end(), what) != result_.failed.end()) return;
    result_.failed.push_back(what);
  }

  void Meter(float value) { hooks_.set_meter(value, page_.page); }

  // A whole-file copy from beside the installer; a missing optional source is no failure.
  void CopyFile(const std::wstring& folder, const std::wstring& name, const std::wstring& to, bool optional) {
    std::wstring from = folder + L"\\" + name;
    if (optional && !os_.files.FileExists(from)) return;
    Step(os_.files.CopyFile(from, to), L"копирането на " + name);
  }

  InstallationResult Go() {
    os::Registry& reg = os_.registry;
    Step(CreateRegistryKey(reg, L"SOFTWARE\\Zentrik\\Elemora", os::RootKey::kCurrentUser),
         L"ключа на програмата в регистъра");
    look::InitMeter(page_.page, kit::Rgb(0, 168, 128), kit::Rgb(255, 255, 255));
    Step(PrepareProgramGroup(os_.shell, os_.files, page_.Label18), L"програмната група в менюто Старт");
    Meter(10);
    Meter(33);
    const std::wstring windows = GetWindowsDir(os_.files);
    const std::wstring source = os_.files.ProgramFolder();
    for (const Copy& copy : kComponents) {
      CopyFile(source, copy.name, windows + L"System\\" + copy.name, copy.optional);
    }
    CopyFile(source, L"Table.exe", page_.Text1.text + L"\\Table.exe", false);
    Meter(90);
    CopyFile(source, L"vrakel.mdb", page_.Text1.text + L"\\vrakel.mdb", false);
    Meter(96);
    CopyFile(source, L"Gorvix.exe", windows + L"Gorvix.exe", false);
    Meter(97);
    page_.Label12.caption = page_.Text1.text + L"\\Table.exe";

    // The shortcut and its icon name the viewer that was installed.
    auto start = StartMenu(os_.shell);
    const std::wstring viewer = page_.Label12.caption;
    Step(start && CreateShortcut(os_.shell, *start + kGroupSuffix + kShortcutName,
                            L"Zentrik® Периодична Система на елементите", viewer, L"", L"", L"", viewer, 0),
         L"прекия път „Zentrik® Elemora 2002“");
    Step(SetGroupPathLabel(os_.shell, page_.Label18), L"пътя на програмната група");
    Step(SetUserValue(reg, kProductKey, L"dir", page_.Text1, os::kRegSz), L"стойността dir в регистъра");
    Step(SetUserValue(reg, kProductKey, L"Sdir", page_.Label18, os::kRegSz), L"стойността Sdir в регистъра");

    Step(CreateRegistryKey(reg, kUninstallKey, os::RootKey::kLocalMachine), kUninstallEntry);
    Step(SetMachineValue(reg, kUninstallKey, L"DisplayName", L"Zentrik© Elemora 2002®", os::kRegSz),
         kUninstallEntry);
    Step(SetMachineValue(reg, kUninstallKey, L"UninstallString", windows + L"Gorvix.exe", os::kRegSz),
         kUninstallEntry);
    // What the list of installed programs shows beside the name.
    Step(SetMachineValue(reg, kUninstallKey, L"DisplayIcon", viewer, os::kRegSz), kUninstallEntry);
    Step(SetMachineValue(reg, kUninstallKey, L"DisplayVersion", L"2002", os::kRegSz), kUninstallEntry);
    Step(SetMachineValue(reg, kUninstallKey, L"Publisher", L"Zentrik", os::kRegSz), kUninstallEntry);
    Step(SetMachineValue(reg, kUninstallKey, L"InstallLocation", page_.Text1, os::kRegSz), kUninstallEntry);
    Meter(100);
    Step(CopyRecentShortcutToGroup(os_, page_.Label12.caption, hooks_.wait),
         L"прекия път „Table.exe“ в програмната група");
    return result_;
  }

 private:
  os::Services& os_;
  const InstallationPage& page_;
  const InstallationHooks& hooks_;
  InstallationResult result_;
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
  InstallationHooks hooks{[](int ms) { kit::CurrentPlatform().WaitProcessingMessages(ms); },
                          [](float value, kit::Form& form) { look::SetMeterValue(value, form); }};
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
