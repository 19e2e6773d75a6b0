// The switches that deployment tools pass to our installer and uninstaller.
// Without any, both programs run as a user starts them; with /S they run the
// same steps unattended. Both NSIS's and Inno Setup's spellings are accepted,
// since administrators' tools send whichever they know:
//   /S /SILENT /VERYSILENT      run without a window (there is no separate
//                               progress window, so all three mean the same)
//   /SUPPRESSMSGBOXES /NORESTART  accepted; an unattended run never asks and
//                               never restarts
//   /LOG=file  /LOG="file"      write a log
//   /D=folder                   (installer) the destination; the last switch,
//                               taken to the end of the line unquoted
//   /DIR=folder  /DIR="folder"  (installer) the destination
//   /?                          show the usage
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace deploy {

enum class Program { kSetup, kUninstall };

struct Options {
  bool silent = false;
  bool usage = false;
  std::wstring folder;   // empty: the default folder
  std::wstring log;      // empty: no log
};

struct ParsedCommandLine {
  bool ok = false;
  Options options;
  std::wstring error;    // what was wrong, for the usage message and the log
};

// The arguments of a command line as GetCommandLineW gives it: the program
// name (quoted or not) is skipped.
std::wstring_view ArgumentsOf(std::wstring_view command_line);

// Parses the arguments (without the program name). Switches are case-blind.
ParsedCommandLine ParseArguments(std::wstring_view arguments, Program program);

// Whether a command line, even one refused, holds a switch that asks for no
// window (/S, /SILENT, /VERYSILENT, /SUPPRESSMSGBOXES): then a bad command
// line is answered by the exit code alone, never by a message box.
bool AsksForSilence(std::wstring_view arguments);

// The usage text shown by /? and for a bad command line.
std::wstring UsageText(Program program);

// What both programs do with their command line before anything else. A
// refused line ends the program with kExitBadCommandLine, its reason and the
// usage shown through `show` (error true) unless the line asked for silence;
// /? shows the usage (error false) and ends it with kExitSuccess. Returns
// that exit code, or nothing with `options` holding what the line asked for.
std::optional<int> AnswerCommandLine(std::wstring_view arguments, Program program, Options* options,
                                     const std::function<void(const std::wstring& text, bool error)>& show);

// Exit codes of an unattended run.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadCommandLine = 2;

}  // namespace deploy
