// What a start of Gorvix.exe does with its command line. Without switches the
// window is shown as always; /S (or /SILENT, /VERYSILENT) removes the product
// with no window at all and tells the result by its exit code, for the
// deployment tools of school computer rooms.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "os/os.h"

namespace gorvix {

// Runs what the arguments ask for when that is not the window: the
// unattended removal, the usage (/?), or the refusal of a bad command line
// (a message box with the usage, none when /S was among the arguments).
// Returns the exit code, or nothing when the window is to be shown; then
// `log_path` holds the log file that /LOG= named, if any.
std::optional<int> RunCommandLine(os::Services& os, std::wstring_view arguments, std::wstring* log_path);

// The removal without a window or a pause: 0 when everything went (or goes
// at the next restart), 1 when anything stays.
int RunUnattended(os::Services& os, const std::wstring& log_path);

}  // namespace gorvix
