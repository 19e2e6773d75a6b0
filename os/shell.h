// The shell: special folders, shortcut files and the recent documents.
#pragma once

#include <optional>
#include <string>

namespace os {

constexpr int kCsidlRecent = 8;
constexpr int kCsidlStartMenu = 11;
constexpr int kCsidlCommonPrograms = 23;   // the Start menu's programs for every user

struct SpecialFolder {
  enum class Status { kOk, kUnknown, kNoPath };
  // kUnknown: the shell does not know the folder (the caller sees empty
  // text); kNoPath: it knows it but gave no file-system path (a failure).
  Status status = Status::kUnknown;
  std::wstring path;   // no closing separator
};

struct ShortcutProperties {
  std::wstring arguments;
  std::wstring description;
  std::wstring hot_key;        // as the scripting host spells it ("Ctrl+Alt+E"); empty for none
  std::wstring icon_location;  // "path" or "path,index"
  std::wstring target_path;
  int window_style = 0;        // 0 leaves the system's default (normal window)
  std::wstring working_directory;
};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual SpecialFolder SpecialFolderPath(int csidl) = 0;
  // Writes (or rewrites) a shortcut file with every property; false when the
  // shell link object cannot be made or saved, leaving an existing file as it was.
  virtual bool SaveShortcut(const std::wstring& path, const ShortcutProperties& properties) = 0;
  // The path a shortcut file leads to; nothing when the file is missing or
  // is not a shortcut with a file-system target.
  virtual std::optional<std::wstring> ShortcutTarget(const std::wstring& path) = 0;
  // Adds a file to the user's recent documents; the shell writes the
  // shortcut "<name>.lnk" into the recent-documents folder, perhaps later.
  virtual void AddToRecentDocs(const std::wstring& path) = 0;
};

}  // namespace os
