// The log of an unattended run: UTF-8, one line a step, saying what was done
// or what failed and why. Each line is appended at once, so a run that is
// stopped halfway still leaves what it did.
#pragma once

#include <string>
#include <string_view>

#include "os/files.h"

namespace deploy {

class Log {
 public:
  // An empty path keeps no log.
  Log(os::Files& files, std::wstring path) : files_(files), path_(std::move(path)) {}

  void Done(std::wstring_view what) { Line(L"OK      " + std::wstring(what)); }
  // `code` is the system's error number; 0 when there is none to give.
  void Failed(std::wstring_view what, long code = 0);
  void Note(std::wstring_view what) { Line(L"        " + std::wstring(what)); }
  void Line(std::wstring_view text);
  // False once a line could not be written.
  bool ok() const { return ok_; }

 private:
  os::Files& files_;
  std::wstring path_;
  bool ok_ = true;
};

}  // namespace deploy
