#include "deploy/log.h"

#include "base/utf.h"
#include "os/error_text.h"

namespace deploy {

void Log::Failed(std::wstring_view what, long code) {
  std::wstring line = L"FAILED  " + std::wstring(what);
  if (code != 0) line += L" (" + os::ErrorText(code) + L")";
  Line(line);
}

void Log::Line(std::wstring_view text) {
  if (path_.empty()) return;
  if (!files_.AppendToFile(path_, base::WideToUtf8(text) + "\r\n")) ok_ = false;
}

}  // namespace deploy
