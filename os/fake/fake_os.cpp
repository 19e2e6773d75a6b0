#include "os/fake/fake_os.h"

#include "base/utf.h"

namespace os::fake {

std::wstring Fold(const std::wstring& text) {
  std::wstring out = text;
  for (auto& c : out) {
    if (c >= L'A' && c <= L'Z') {
      c = static_cast<wchar_t>(c + 0x20);
    } else if (c >= 0x0410 && c <= 0x042F) {
      c = static_cast<wchar_t>(c + 0x20);
    } else if (c >= 0x0400 && c <= 0x040F) {
      c = static_cast<wchar_t>(c + 0x50);
    } else if (c == L'/') {
      c = L'\\';
    }
  }
  return out;
}

std::string ToUtf8(const std::wstring& text) { return base::WideToUtf8(text); }
std::wstring FromUtf8(const std::string& text) { return base::Utf8ToWide(text); }

void FakeClock::Sleep(int ms) {
  sleeps.push_back(ms);
  Advance(ms < 0 ? 0 : ms);
}

void FakeClock::Advance(std::int64_t ms) {
  std::int64_t target = now_ms_ + ms;
  // Tasks may schedule others; take them one at a time.
  while (!scheduled_.empty() && scheduled_.begin()->first <= target) {
    auto node = scheduled_.extract(scheduled_.begin());
    now_ms_ = node.key();
    node.mapped()();
  }
  now_ms_ = target;
}

void FakeClock::At(std::int64_t ms, std::function<void()> task) {
  if (ms <= 0) {
    task();
    return;
  }
  scheduled_.emplace(now_ms_ + ms, std::move(task));
}

FakeOs::FakeOs() {
  files.AddDrive(L"C:\\", L"SYSTEM", DiskSpace{8, 512, 524288, 2097152});
  files.MakeFolders(L"C:\\windows\\System");
  files.MakeFolders(L"C:\\dist");
  files.MakeFolders(L"C:\\windows\\Start Menu");
  files.MakeFolders(L"C:\\windows\\Recent");
  files.SetWindowsDirectory(L"C:\\windows");
  files.SetProgramFolder(L"C:\\dist");
  shell.SetSpecialFolder(kCsidlStartMenu, L"C:\\windows\\Start Menu");
  shell.SetSpecialFolder(kCsidlRecent, L"C:\\windows\\Recent");
}

}  // namespace os::fake
