#include "uninstall/removal.h"

#include <algorithm>
#include <cwctype>

#include "deploy/product.h"
#include "uninstall/recorded_folder.h"
#include "uninstall/user_value.h"

namespace gorvix {
namespace {

using deploy::kProductKey;
using deploy::kUninstallKey;
constexpr std::uint32_t kKeyQueryValue = 0x1;
constexpr std::uint32_t kKeySetValue = 0x2;

// What the completion text names when it was not removed.
const std::wstring kProgram = L"програмата";
const std::wstring kShortcut = L"препратката";
const std::wstring kEntry = L"записът в списъка с програмите";
const std::wstring kProductRecords = L"ключът в регистратурата";

bool SameName(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

bool Gone(long result) { return result == os::kOk || result == os::kFileNotFound; }

}  // namespace

std::wstring KeyName(os::RootKey root, const std::wstring& path) {
  return (root == os::RootKey::kLocalMachine ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\") + path;
}

Removal::Removal(os::Services& os, deploy::Log& log, Hooks hooks) : os_(os), log_(log), hooks_(std::move(hooks)) {}

void Removal::NotRemoved(const std::wstring& what) {
  if (!WasNotRemoved(what)) not_removed_.push_back(what);
}

bool Removal::WasNotRemoved(const std::wstring& what) const {
  return std::find(not_removed_.begin(), not_removed_.end(), what) != not_removed_.end();
}

void Removal::Run(const std::function<void(int)>& before_step) {
  const std::function<void()> steps[kSteps] = {[this] { RemovePrograms(); }, [this] { RemoveShortcut(); },
                                                [this] { RemoveRegistryKeys(); }};
  for (int i = 0; i < kSteps; ++i) {
    if (before_step) before_step(i);
    steps[i]();
  }
  if (Succeeded()) log_.Done(CompletionText());
  else log_.Failed(CompletionText());
}

std::optional<std::wstring> Removal::ReadRecordedFolder(const wchar_t* name, bool* found) {
  long opened = os::kOk;
  os::RootKey root = os::RootKey::kCurrentUser;
  ValueHolder value = GetValue(os_.registry, root, kProductKey, name, deploy::kKeyAccess, &opened);
  if (opened == os::kFileNotFound) {
    // No key of this user's: an installation made for every user keeps its
    // records in the machine's key, which is only read here.
    root = os::RootKey::kLocalMachine;
    value = GetValue(os_.registry, root, kProductKey, name, kKeyQueryValue, &opened);
  }
  if (hooks_.value_read) hooks_.value_read(value.AsText());
  *found = opened != os::kFileNotFound;
  if (!*found) return std::nullopt;
  records_root_ = root;
  const std::wstring record = KeyName(root, kProductKey) + L"\\" + name;
  if (value.kind != ValueHolder::Kind::kText) {
    log_.Failed(L"Записът " + record + L" липсва или не е текст", opened);
    return std::nullopt;
  }
  log_.Note(record + L" = " + value.text);
  std::optional<std::wstring> folder = RecordedFolder(value.text, os_.files.WindowsDirectory());
  if (!folder) log_.Failed(L"Записът " + record + L" не назовава папка, в която може да се трие");
  return folder;
}

void Removal::RemoveRecordedFile(const wchar_t* name, const std::wstring& file, const std::wstring& item) {
  bool found = false;
  std::optional<std::wstring> folder = ReadRecordedFolder(name, &found);
  // No key at all: a second run after a complete one, nothing left here.
  if (!found) {
    log_.Note(L"Няма записи на инсталация: " + KeyName(os::RootKey::kCurrentUser, kProductKey) + L", " +
              KeyName(os::RootKey::kLocalMachine, kProductKey));
    return;
  }
  // With the key there, a record that is missing, empty, not a text or
  // refused leaves the file where it is; that is no success.
  if (!folder) {
    NotRemoved(item);
    return;
  }
  // The separator is added here, so a folder recorded without its closing
  // one still names a file inside it.
  const std::wstring path = *folder + L"\\" + file;
  long result = os_.files.DeleteFileResult(path);
  if (result == os::kOk) {
    log_.Done(L"Изтрит файл: " + path);
  } else if (result == os::kFileNotFound || result == os::kPathNotFound) {
    // Nothing of that name there: gone already, as after an earlier run.
    log_.Note(L"Файлът вече го няма: " + path);
  } else if (os_.files.FileInUse(path)) {
    // A running viewer (or a shortcut held open) cannot go now, but the
    // system can take it at the next restart.
    if (ScheduleAtRestart(*folder, file)) return;
    NotRemoved(item);
    log_.Failed(L"Файлът е в употреба и не може да бъде изтрит дори при рестартиране: " + path, result);
  } else {
    // Any other refusal (a folder of that name, no rights) means it stays.
    NotRemoved(item);
    log_.Failed(L"Файлът не е изтрит: " + path, result);
  }
  RemoveFolderWithoutSubfolders(*folder);
}

bool Removal::ScheduleAtRestart(const std::wstring& folder, const std::wstring& file) {
  const std::wstring path = folder + L"\\" + file;
  if (!os_.files.DeleteAtRestart(path)) return false;
  at_restart_.push_back(file);
  log_.Done(L"Файлът е в употреба и ще бъде изтрит при следващото рестартиране: " + path);
  // The folder goes after it only when that file is all it holds; the
  // system deletes in the order asked, so the folder is empty by its turn.
  std::optional<size_t> subfolders = SubfolderCount(folder);
  std::optional<std::vector<std::wstring>> files = os_.files.FileNames(folder);
  if (subfolders == size_t{0} && files && files->size() == 1 && SameName(files->front(), file)) {
    if (os_.files.DeleteAtRestart(folder)) log_.Done(L"Папката ще бъде премахната при следващото рестартиране: " + folder);
    else log_.Note(L"Папката остава: " + folder);
  } else {
    log_.Note(L"Папката остава, в нея има и друго: " + folder);
  }
  return true;
}

std::optional<size_t> Removal::SubfolderCount(const std::wstring& folder) {
  if (hooks_.subfolders) return hooks_.subfolders(folder);
  std::optional<std::vector<std::wstring>> names = os_.files.Subfolders(folder);
  if (!names) return std::nullopt;
  return names->size();
}

void Removal::RemoveFolderWithoutSubfolders(const std::wstring& folder) {
  // A folder the list cannot show is left alone; one that still holds files
  // is refused by the system and stays, as it should.
  std::optional<size_t> subfolders = SubfolderCount(folder);
  if (!subfolders) {
    log_.Note(L"Папката вече я няма или не може да бъде прочетена: " + folder);
  } else if (*subfolders > 0) {
    log_.Note(L"Папката остава, в нея има подпапки: " + folder);
  } else if (os_.files.RemoveFolder(folder)) {
    log_.Done(L"Премахната папка: " + folder);
  } else {
    log_.Note(L"Папката остава, в нея има други файлове: " + folder);
  }
}

void Removal::RemovePrograms() { RemoveRecordedFile(deploy::kFolderRecord, deploy::kViewerFile, kProgram); }

void Removal::RemoveShortcut() { RemoveRecordedFile(deploy::kGroupRecord, deploy::kShortcutName, kShortcut); }

void Removal::DeleteKey(os::RootKey root, const std::wstring& path, const std::wstring& item) {
  long result = os_.registry.DeleteKey(root, path);
  if (result == os::kOk) {
    log_.Done(L"Изтрит ключ: " + KeyName(root, path));
  } else if (result == os::kFileNotFound) {
    log_.Note(L"Ключът вече го няма: " + KeyName(root, path));
  } else {
    NotRemoved(item);
    log_.Failed(L"Ключът не е изтрит: " + KeyName(root, path), result);
  }
}

void Removal::RemoveRegistryKeys() {
  // While the viewer or its shortcut stays, so do the records that find them
  // and the entry from which the user runs this program again.
  if (WasNotRemoved(kProgram) || WasNotRemoved(kShortcut)) {
    auto kept = [this](os::RootKey root, const std::wstring& path, const std::wstring& item) {
      os::KeyHandle key = 0;
      long opened = os_.registry.OpenKey(root, path, kKeyQueryValue, &key);
      if (opened == os::kOk) os_.registry.CloseKey(key);
      if (opened != os::kFileNotFound) {
        NotRemoved(item);
        log_.Note(L"Остава, за да може премахването да бъде повторено: " + KeyName(root, path));
      }
    };
    kept(os::RootKey::kLocalMachine, kUninstallKey, kEntry);
    kept(records_root_, kProductKey, kProductRecords);
    return;
  }
  // The entry's own values first; the key then goes with whatever else the
  // installer put in it.
  os::KeyHandle key = 0;
  long opened = os_.registry.OpenKey(os::RootKey::kLocalMachine, kUninstallKey, kKeySetValue, &key);
  if (opened == os::kOk) {
    for (const wchar_t* name : {deploy::entry::kDisplayName, deploy::entry::kUninstallString}) {
      long result = os_.registry.DeleteValue(key, name);
      if (!Gone(result)) {
        NotRemoved(kEntry);
        log_.Failed(L"Стойността " + std::wstring(name) + L" не е изтрита: " +
                   KeyName(os::RootKey::kLocalMachine, kUninstallKey), result);
      }
    }
    os_.registry.CloseKey(key);
  } else if (!Gone(opened)) {
    NotRemoved(kEntry);
    log_.Failed(L"Ключът не може да бъде отворен: " + KeyName(os::RootKey::kLocalMachine, kUninstallKey), opened);
  }
  DeleteKey(os::RootKey::kLocalMachine, kUninstallKey, kEntry);
  DeleteKey(records_root_, kProductKey, kProductRecords);
}

std::wstring Removal::CompletionText() const {
  std::wstring later;
  if (at_restart_.size() == 1) {
    later = at_restart_[0] + L" ще бъде изтрита при следващото рестартиране. ";
  } else if (!at_restart_.empty()) {
    for (size_t i = 0; i < at_restart_.size(); ++i)
      later += (i == 0 ? L"" : i + 1 == at_restart_.size() ? L" и " : L", ") + at_restart_[i];
    later += L" ще бъдат изтрити при следващото рестартиране. ";
  }
  if (not_removed_.empty())
    return L"Премахването на програмите на Zentrik завърши успешно. " + later + L"За край натиснете \"Изход\"";
  std::wstring list;
  for (const auto& item : not_removed_) list += (list.empty() ? L"" : L", ") + item;
  return L"Премахването на програмите на Zentrik не завърши успешно. Не са премахнати: " + list + L". " + later +
         L"За край натиснете \"Изход\"";
}

}  // namespace gorvix
