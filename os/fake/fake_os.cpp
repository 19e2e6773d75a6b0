#include "os/fake/fake_os.h"

#include "os/utf8.h"

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

std::string ToUtf8(const std::wstring& text) { return os::ToUtf8(text); }

std::wstring FromUtf8(const std::string& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    std::uint32_t c = b;
    size_t extra = 0;
    if (b >= 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if (b >= 0xC0) {
      c = b & 0x1F;
      extra = 1;
    }
    ++i;
    for (size_t k = 0; k < extra && i < text.size(); ++k, ++i) {
      c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    out.push_back(static_cast<wchar_t>(c));
  }
  return out;
}

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
