#include "deploy/command_line.h"

#include <cwctype>

namespace deploy {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::towupper(text[i]) != std::towupper(prefix[i])) return false;
  return true;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }

std::wstring_view TrimRight(std::wstring_view s) {
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// A value after "=": either "quoted" (spaces allowed) or up to the next space.
// False when a quote is left open.
bool TakeValue(std::wstring_view& rest, std::wstring& value) {
  if (!rest.empty() && rest.front() == L'"') {
    size_t close = rest.find(L'"', 1);
    if (close == std::wstring_view::npos) return false;
    value.assign(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
    return rest.empty() || IsSpace(rest.front());
  }
  size_t end = 0;
  while (end < rest.size() && !IsSpace(rest[end])) ++end;
  value.assign(rest.substr(0, end));
  rest.remove_prefix(end);
  return true;
}

ParsedCommandLine Refuse(std::wstring why) {
  ParsedCommandLine r;
  r.error = std::move(why);
  return r;
}

}  // namespace

std::wstring_view ArgumentsOf(std::wstring_view line) {
  size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  if (i < line.size() && line[i] == L'"') {
    size_t close = line.find(L'"', i + 1);
    i = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && !IsSpace(line[i])) ++i;
  }
  return line.substr(i);
}

ParsedCommandLine ParseArguments(std::wstring_view rest, Program program) {
  ParsedCommandLine r;
  r.ok = true;
  for (;;) {
    while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
    if (rest.empty()) break;
    // Inno's documentation quotes whole switches as well: "/DIR=C:\My Folder".
    std::wstring token_storage;
    std::wstring_view token = rest;
    bool whole_quoted = rest.front() == L'"' && rest.size() > 1 && rest[1] == L'/';
    if (whole_quoted) {
      size_t close = rest.find(L'"', 1);
      if (close == std::wstring_view::npos) return Refuse(L"Незатворени кавички: " + std::wstring(rest));
      token_storage.assign(rest.substr(1, close - 1));
      token = token_storage;
      rest.remove_prefix(close + 1);
    }
    if (token.front() != L'/') return Refuse(L"Непознат параметър: " + std::wstring(TrimRight(token)));

    // NSIS: /D= is the last switch and runs to the end of the line, unquoted.
    if (program == Program::kSetup && StartsWithNoCase(token, L"/D=")) {
      std::wstring_view folder = TrimRight(token.substr(3));
      if (folder.empty()) return Refuse(L"Празна папка в /D=");
      r.options.folder.assign(folder);
      if (!whole_quoted) break;
      continue;
    }
    bool is_dir = program == Program::kSetup && StartsWithNoCase(token, L"/DIR=");
    bool is_log = StartsWithNoCase(token, L"/LOG=");
    if (is_dir || is_log) {
      std::wstring_view value_text = token.substr(5);
      std::wstring value;
      if (whole_quoted) {
        value.assign(value_text);
      } else {
        if (!TakeValue(value_text, value)) return Refuse(L"Незатворени кавички: " + std::wstring(TrimRight(token)));
        rest = value_text;
      }
      if (value.empty()) return Refuse(is_dir ? L"Празна папка в /DIR=" : L"Празно име на файл в /LOG=");
      (is_dir ? r.options.folder : r.options.log) = std::move(value);
      continue;
    }

    size_t end = 0;
    while (end < token.size() && !IsSpace(token[end])) ++end;
    std::wstring_view name = token.substr(0, end);
    if (whole_quoted && end != token.size()) return Refuse(L"Непознат параметър: " + std::wstring(token));
    if (!whole_quoted) rest.remove_prefix(end);
    if (EqualsNoCase(name, L"/S") || EqualsNoCase(name, L"/SILENT") || EqualsNoCase(name, L"/VERYSILENT")) {
      r.options.silent = true;
    } else if (EqualsNoCase(name, L"/SUPPRESSMSGBOXES") || EqualsNoCase(name, L"/NORESTART")) {
      // An unattended run never asks and never restarts anyway.
    } else if (name == L"/?") {
      r.options.usage = true;
    } else {
      return Refuse(L"Непознат параметър: " + std::wstring(name));
    }
  }
  return r;
}

bool AsksForSilence(std::wstring_view rest) {
  for (;;) {
    while (!rest.empty() && (IsSpace(rest.front()) || rest.front() == L'"')) rest.remove_prefix(1);
    if (rest.empty()) return false;
    size_t end = 0;
    while (end < rest.size() && !IsSpace(rest[end]) && rest[end] != L'"') ++end;
    std::wstring_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    for (std::wstring_view silent : {L"/S", L"/SILENT", L"/VERYSILENT", L"/SUPPRESSMSGBOXES"})
      if (EqualsNoCase(word, silent)) return true;
  }
}

std::wstring UsageText(Program program) {
  if (program == Program::kSetup) {
    return L"Setup.exe [/S] [/LOG=файл] [/D=папка]\n\n"
           L"/S (или /SILENT, /VERYSILENT)\tинсталира без прозорци за всички потребители\n"
           L"/LOG=файл\tзаписва дневник (UTF-8)\n"
           L"/D=папка\tпапката за инсталиране; последен параметър, без кавички\n"
           L"/DIR=\"папка\"\tсъщото, с кавички\n"
           L"/SUPPRESSMSGBOXES, /NORESTART\tприемат се; без прозорци не се рестартира\n\n"
           L"Изходен код: 0 успех, 1 неуспешна стъпка, 2 грешен команден ред.";
  }
  return L"Gorvix.exe [/S] [/LOG=файл]\n\n"
         L"/S (или /SILENT, /VERYSILENT)\tпремахва програмата без прозорци\n"
         L"/LOG=файл\tзаписва дневник (UTF-8)\n\n"
         L"Изходен код: 0 успех, 1 неуспешна стъпка, 2 грешен команден ред.";
}

std::optional<int> AnswerCommandLine(std::wstring_view arguments, Program program, Options* options,
                                     const std::function<void(const std::wstring& text, bool error)>& show) {
  ParsedCommandLine parsed = ParseArguments(arguments, program);
  if (!parsed.ok) {
    // A deployment tool has nobody to close a message box.
    if (!AsksForSilence(arguments)) show(parsed.error + L"\n\n" + UsageText(program), true);
    return kExitBadCommandLine;
  }
  if (parsed.options.usage) {
    show(UsageText(program), false);
    return kExitSuccess;
  }
  *options = parsed.options;
  return std::nullopt;
}

}  // namespace deploy
