// A real control asked for its own accessible object (which readers do when
// it takes the focus) answers with the system's standard object for its
// class, renamed: the system would borrow the name from a static window
// before it, and our labels have no window. Everything but the name is the
// system's.
#include "kit/backend_win.h"

#include <string>
#include <unordered_map>

#include "kit/accessibility.h"

namespace kit::win {
namespace {

// The name kit/accessibility gives the control behind `hwnd`, empty when
// the window is no longer ours.
std::wstring LabelName(HWND hwnd) {
  ControlRecord* rec = RecordOf(hwnd);
  if (!rec || !rec->control) return {};
  return Describe(rec->control->Owner(), *rec->control).name;
}

class NamedAccessible final : public IAccessible, public IOleWindow {
 public:
  NamedAccessible(HWND hwnd, IAccessible* inner) : hwnd_(hwnd), inner_(inner) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown. Interfaces other than these (IEnumVARIANT, IServiceProvider)
  // are the system object's own.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualGUID(iid, kIidUnknown) || IsEqualGUID(iid, kIidDispatch) || IsEqualGUID(iid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualGUID(iid, kIidOleWindow)) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return inner_->QueryInterface(iid, out);
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) {
      inner_->Release();
      delete this;
    }
    return left;
  }

  // IOleWindow: what tells a reader which window the object stands for.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_INVALIDARG;
    *out = hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** out) override {
    return inner_->GetTypeInfo(i, l, out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT n, LCID l, DISPID* ids) override {
    return inner_->GetIDsOfNames(iid, names, n, l, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID l, WORD f, DISPPARAMS* p, VARIANT* r, EXCEPINFO* e,
                                   UINT* a) override {
    return inner_->Invoke(id, iid, l, f, p, r, e, a);
  }

  // IAccessible: the name of the control itself is ours, the rest the system's.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt == VT_I4 && child.lVal == CHILDID_SELF && name) {
      std::wstring text = LabelName(hwnd_);
      if (!text.empty()) {
        *name = AllocString(text.data(), static_cast<UINT>(text.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
      }
    }
    return inner_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override { return inner_->get_accParent(out); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return inner_->get_accChildCount(n); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** out) override { return inner_->get_accChild(c, out); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* out) override { return inner_->get_accValue(c, out); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* out) override {
    return inner_->get_accDescription(c, out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* out) override { return inner_->get_accRole(c, out); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* out) override { return inner_->get_accState(c, out); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* out) override { return inner_->get_accHelp(c, out); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT c, long* topic) override {
    return inner_->get_accHelpTopic(file, c, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* out) override {
    return inner_->get_accKeyboardShortcut(c, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return inner_->get_accFocus(out); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return inner_->get_accSelection(out); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* out) override {
    return inner_->get_accDefaultAction(c, out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT c) override { return inner_->accSelect(flags, c); }
  HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
    return inner_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(dir, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override { return inner_->accHitTest(x, y, out); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return inner_->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR name) override { return inner_->put_accName(c, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR value) override { return inner_->put_accValue(c, value); }

 private:
  HWND hwnd_;
  IAccessible* inner_;
  ULONG refs_ = 1;
};

LRESULT AnswerClientObject(HWND hwnd, WPARAM wp) {
  InitComOnce();
  IAccessible* inner = nullptr;
  if (FAILED(StdAccessibleObject(hwnd, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&inner))) || !inner)
    return 0;
  auto* object = new NamedAccessible(hwnd, inner);
  LRESULT answer = ResultFromObject(kIidAccessible, wp, static_cast<IAccessible*>(object));
  object->Release();
  return answer > 0 ? answer : 0;
}

// The window procedure each renamed control had before, by window. A plain
// subclass: comctl32's SetWindowSubclass looks its chain up in a window
// property on every message, which under Wine is a request to the server,
// some 150 of them while the viewer's boxes are created, shown and painted.
std::unordered_map<HWND, WNDPROC> g_before;

LRESULT CALLBACK NamedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = g_before.find(hwnd);
  if (it == g_before.end()) return DefWindowProcW(hwnd, msg, wp, lp);
  WNDPROC before = it->second;
  if (msg == WM_GETOBJECT && static_cast<long>(lp) == static_cast<long>(OBJID_CLIENT) && !LabelName(hwnd).empty()) {
    if (LRESULT answer = AnswerClientObject(hwnd, wp)) return answer;
  } else if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(before));
    g_before.erase(it);
  }
  return CallWindowProcW(before, hwnd, msg, wp, lp);
}

}  // namespace

void NameByLabel(HWND hwnd) {
  auto before = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NamedProc)));
  if (before) g_before[hwnd] = before;
}

}  // namespace kit::win
