#include "base/win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "base/handles_win.h"
#include "os/shortcut_text.h"
#include "os/system_win.h"

namespace os::win {

namespace {

using base::ComPtr;
using Pidl = base::NullHandle<LPITEMIDLIST, CoTaskMemFree>;

// COM for the length of one operation; a thread that already has it keeps it.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

class Win32Shell : public Shell {
 public:
  SpecialFolder SpecialFolderPath(int csidl) override {
    SpecialFolder folder;
    Pidl pidl;
    if (SHGetSpecialFolderLocation(nullptr, csidl, pidl.Put()) != S_OK || !pidl) return folder;
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(pidl.get(), buffer) || buffer[0] == 0) {
      folder.status = SpecialFolder::Status::kNoPath;
      return folder;
    }
    folder.status = SpecialFolder::Status::kOk;
    folder.path = buffer;
    if (folder.path.size() > 3 && folder.path.back() == L'\\') folder.path.pop_back();
    return folder;
  }

  bool SaveShortcut(const std::wstring& path, const ShortcutProperties& p) override {
    ComScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put())))) {
      return false;
    }
    WORD hot_key = 0;
    if (!p.hot_key.empty()) {
      auto parsed = ParseHotKey(p.hot_key);
      if (!parsed) return false;
      hot_key = *parsed;
    }
    auto [icon_path, icon_index] = SplitIconLocation(p.icon_location);
    IShellLinkW* l = link.get();
    if (FAILED(l->SetArguments(p.arguments.c_str())) || FAILED(l->SetDescription(p.description.c_str())) ||
        FAILED(l->SetHotkey(hot_key)) || FAILED(l->SetIconLocation(icon_path.c_str(), icon_index)) ||
        FAILED(l->SetPath(p.target_path.c_str())) ||
        (p.window_style != 0 && FAILED(l->SetShowCmd(p.window_style))) ||
        FAILED(l->SetWorkingDirectory(p.working_directory.c_str()))) {
      return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(l->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())))) return false;
    return SUCCEEDED(file.get()->Save(path.c_str(), TRUE));
  }

  std::optional<std::wstring> ShortcutTarget(const std::wstring& path) override {
    ComScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put())))) {
      return std::nullopt;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))) ||
        FAILED(file.get()->Load(path.c_str(), STGM_READ))) {
      return std::nullopt;
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    // S_FALSE: a shortcut to something that is not a file.
    if (link.get()->GetPath(buffer, MAX_PATH + 1, nullptr, 0) != S_OK || buffer[0] == 0) return std::nullopt;
    return std::wstring(buffer);
  }

  void AddToRecentDocs(const std::wstring& path) override {
    ComScope com;
    // Wine writes a wrong target for SHARD_PATHW; the ANSI form is right
    // wherever the path survives the code page unchanged.
    BOOL lossy = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (bytes > 0 && !lossy) {
      std::string ansi(static_cast<size_t>(bytes), '\0');
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, ansi.data(), bytes, nullptr, &lossy);
      int chars = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
      std::wstring back(static_cast<size_t>(chars > 0 ? chars : 0), L'\0');
      if (chars > 0) MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, back.data(), chars);
      if (!lossy && chars > 0 && back.c_str() == path) {
        SHAddToRecentDocs(SHARD_PATHA, ansi.c_str());
        return;
      }
    }
    SHAddToRecentDocs(SHARD_PATHW, path.c_str());
  }
};

}  // namespace

Shell& SystemShell() {
  static Win32Shell shell;
  return shell;
}

}  // namespace os::win
