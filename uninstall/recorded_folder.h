// Which folder values from the registry the uninstaller may act in. The
// records can be missing, damaged or hostile; a folder is used only when it
// names one definite place that cannot be a drive root, the current folder
// or a folder of the system itself.
#pragma once

#include <optional>
#include <string>

namespace gorvix {

// The folder named by a recorded value, without a closing separator, or
// nothing when the value may not be acted in. Accepted: an absolute path on
// a drive ("C:\Program Files\Zentrik", one closing separator allowed; a
// separator doubled right after the drive is read as one), below
// the root, whose every component is a plain name (no "." or "..", no
// characters Windows refuses or strips), that is not the Windows folder, an
// ancestor of it, or inside its system folders.
std::optional<std::wstring> RecordedFolder(const std::wstring& value, const std::wstring& windows_folder);

}  // namespace gorvix
