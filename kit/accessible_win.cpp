// The form's accessible object: what kit/accessibility says about its
// controls, served to screen readers (and our tests) through IAccessible
// with simple child ids, 1 for the first child. Every question is answered
// from the models at the moment it is asked.
#include "kit/backend_win.h"

#include <oleacc.h>

#include <string>

#include "kit/accessibility.h"
#include "kit/input.h"
#include "kit/platform.h"

namespace kit::win {
namespace {

long RoleId(Role role) {
  switch (role) {
    case Role::kPushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case Role::kEditableText: return ROLE_SYSTEM_TEXT;
    case Role::kRadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case Role::kComboBox: return ROLE_SYSTEM_COMBOBOX;
    case Role::kList: return ROLE_SYSTEM_LIST;
    case Role::kGraphic: return ROLE_SYSTEM_GRAPHIC;
    case Role::kSlider: return ROLE_SYSTEM_SLIDER;
    case Role::kAlert: return ROLE_SYSTEM_ALERT;
    case Role::kTable: return ROLE_SYSTEM_TABLE;
    case Role::kCell: return ROLE_SYSTEM_CELL;
    case Role::kColumnHeader: return ROLE_SYSTEM_COLUMNHEADER;
    case Role::kRowHeader: return ROLE_SYSTEM_ROWHEADER;
    case Role::kListItem: return ROLE_SYSTEM_LISTITEM;
    default: return ROLE_SYSTEM_STATICTEXT;
  }
}

HRESULT Bstr(const std::wstring& text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = AllocString(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// A control's simple child id; 0 when it is not a child.
long ChildIdOf(const Form& form, const Control& c) {
  auto children = AccessibleChildren(form);
  for (size_t i = 0; i < children.size(); ++i)
    if (children[i].control == &c) return static_cast<long>(i + 1);
  return 0;
}

class FormAccessible final : public IAccessible {
 public:
  explicit FormAccessible(HWND hwnd) : hwnd_(hwnd) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualGUID(iid, kIidUnknown) || IsEqualGUID(iid, kIidDispatch) || IsEqualGUID(iid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: readers use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_INVALIDARG;
    return ObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), kIidDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_INVALIDARG;
    Form* form = LiveForm();
    if (!form) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<long>(AccessibleChildren(*form).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    AccessibleChild a;
    HRESULT hr = Child(child, &a);
    if (hr != S_OK) return hr == S_FALSE ? E_INVALIDARG : hr;
    return S_FALSE;   // a simple element: the form answers for it
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return TextOf(child, &Form::caption, &AccessibleChild::name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (IsSelf(child)) return Bstr(L"", value);
    AccessibleChild a;
    HRESULT hr = Child(child, &a);
    if (hr != S_OK) return hr;
    if (!a.has_value) return Bstr(L"", value);
    if (!value) return E_INVALIDARG;
    *value = AllocString(a.value.data(), static_cast<UINT>(a.value.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return TextOf(child, &Form::description, &AccessibleChild::description, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_INVALIDARG;
    ClearVariant(role);
    long id = ROLE_SYSTEM_CLIENT;
    if (!IsSelf(child)) {
      AccessibleChild a;
      HRESULT hr = Child(child, &a);
      if (hr != S_OK) return hr;
      id = RoleId(a.role);
    }
    role->vt = VT_I4;
    role->lVal = id;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_INVALIDARG;
    ClearVariant(state);
    long bits = 0;
    bool window_focused = FocusInside();
    if (IsSelf(child)) {
      bits = STATE_SYSTEM_FOCUSABLE;
      if (GetFocus() == hwnd_ && LiveForm() && !LiveForm()->Focused()) bits |= STATE_SYSTEM_FOCUSED;
      if (!IsWindowVisible(hwnd_)) bits |= STATE_SYSTEM_INVISIBLE;
    } else {
      AccessibleChild a;
      HRESULT hr = Child(child, &a);
      if (hr != S_OK) return hr;
      if (a.focusable) bits |= STATE_SYSTEM_FOCUSABLE;
      if (a.focused && window_focused) bits |= STATE_SYSTEM_FOCUSED;
      if (a.unavailable) bits |= STATE_SYSTEM_UNAVAILABLE;
      if (a.invisible) bits |= STATE_SYSTEM_INVISIBLE;
      if (a.checked) bits |= STATE_SYSTEM_CHECKED;
      if (a.read_only) bits |= STATE_SYSTEM_READONLY;
    }
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Bstr(L"", help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return Bstr(L"", keys); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    Form* form = nullptr;
    if (HRESULT hr = Answering(focus, &form); hr != S_OK) return hr;
    if (!FocusInside()) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = CHILDID_SELF;
    if (long id = form->Focused() ? ChildIdOf(*form, *form->Focused()) : 0) focus->lVal = id;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) ClearVariant(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (IsSelf(child)) return Bstr(L"", action);
    AccessibleChild a;
    HRESULT hr = Child(child, &a);
    return hr == S_OK ? Bstr(a.default_action, action) : hr;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    AccessibleChild a;
    HRESULT hr = Child(child, &a);
    if (hr != S_OK) return hr;
    if (!(flags & SELFLAG_TAKEFOCUS) || !a.focusable) return S_FALSE;
    Control* c = a.control;
    Fire([c] { c->Owner().SetFocus(c); });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_INVALIDARG;
    RECT r{};
    if (IsSelf(child)) {
      GetClientRect(hwnd_, &r);
    } else {
      AccessibleChild a;
      HRESULT hr = Child(child, &a);
      if (hr != S_OK) return hr;
      r = PixelRect(a.bounds);
    }
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
    Form* form = nullptr;
    if (HRESULT hr = Answering(end, &form); hr != S_OK) return hr;
    long count = static_cast<long>(AccessibleChildren(*form).size());
    long from = start.vt == VT_I4 ? start.lVal : CHILDID_SELF;
    long to = 0;
    switch (dir) {
      case NAVDIR_FIRSTCHILD: to = from == CHILDID_SELF && count > 0 ? 1 : 0; break;
      case NAVDIR_LASTCHILD: to = from == CHILDID_SELF ? count : 0; break;
      case NAVDIR_NEXT: to = from > 0 && from < count ? from + 1 : 0; break;
      case NAVDIR_PREVIOUS: to = from > 1 ? from - 1 : 0; break;
      default: return E_NOTIMPL;
    }
    if (to == 0) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = to;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    Form* form = nullptr;
    if (HRESULT hr = Answering(hit, &form); hr != S_OK) return hr;
    POINT p{x, y};
    ScreenToClient(hwnd_, &p);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    Control* c = HitTest(*form, PixelsToTwips(p.x), PixelsToTwips(p.y));
    HWND child = ChildWindowFromPointEx(hwnd_, p, CWP_SKIPINVISIBLE);
    if (child && child != hwnd_) {
      if (ControlRecord* cr = RecordOf(child)) c = cr->control;
    }
    hit->vt = VT_I4;
    hit->lVal = CHILDID_SELF;
    if (long id = c ? ChildIdOf(*form, *c) : 0) hit->lVal = id;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessibleChild a;
    HRESULT hr = Child(child, &a);
    if (hr != S_OK) return hr;
    if (a.invisible || a.unavailable) return E_FAIL;
    // Later, from the message loop: the action may open a message box, which
    // must not hold the reader's call until it is closed.
    PostMessageW(hwnd_, DefaultActionMessage(), static_cast<WPARAM>(child.lVal), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  Form* LiveForm() const {
    FormRecord* rec = FormRecordOf(hwnd_);
    return rec ? rec->form : nullptr;
  }
  // The start of every answer that hands out a VARIANT: the pointer checked,
  // the VARIANT emptied, the form still there.
  HRESULT Answering(VARIANT* out, Form** form) const {
    if (!out) return E_INVALIDARG;
    ClearVariant(out);
    *form = LiveForm();
    return *form ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  // A text of the form itself or of one of its children, as a BSTR.
  HRESULT TextOf(const VARIANT& child, std::wstring Form::*own, std::wstring AccessibleChild::*of_child,
                 BSTR* out) const {
    if (IsSelf(child)) {
      Form* form = LiveForm();
      return form ? Bstr(form->*own, out) : CO_E_OBJNOTCONNECTED;
    }
    AccessibleChild a;
    HRESULT hr = Child(child, &a);
    return hr == S_OK ? Bstr(a.*of_child, out) : hr;
  }
  bool FocusInside() const {
    HWND f = GetFocus();
    return f && (f == hwnd_ || IsChild(hwnd_, f));
  }
  static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  HRESULT Child(const VARIANT& child, AccessibleChild* out) const {
    if (child.vt != VT_I4) return E_INVALIDARG;
    Form* form = LiveForm();
    if (!form) return CO_E_OBJNOTCONNECTED;
    auto children = AccessibleChildren(*form);
    if (child.lVal < 1 || child.lVal > static_cast<long>(children.size())) return E_INVALIDARG;
    *out = std::move(children[static_cast<size_t>(child.lVal - 1)]);
    return S_OK;
  }

  HWND hwnd_;
  ULONG refs_ = 1;
};

}  // namespace

UINT ChildNameMessage() {
  static UINT id = RegisterWindowMessageW(L"ElemoraAccessibleChildName");
  return id;
}

UINT DefaultActionMessage() {
  static UINT id = RegisterWindowMessageW(L"ElemoraAccessibleDefaultAction");
  return id;
}

LRESULT AnswerGetObject(FormRecord& rec, WPARAM wp, LPARAM lp) {
  if (static_cast<long>(lp) != static_cast<long>(OBJID_CLIENT)) return 0;
  InitComOnce();
  auto* object = new FormAccessible(rec.hwnd);
  LRESULT answer = ResultFromObject(kIidAccessible, wp, object);
  object->Release();
  return answer > 0 ? answer : 0;
}

LRESULT AnswerChildName(FormRecord& rec, WPARAM child) {
  auto children = AccessibleChildren(*rec.form);
  if (child < 1 || child > children.size()) return 0;
  const std::string& name = children[child - 1].control->Name();
  auto it = rec.name_atoms.find(name);
  if (it != rec.name_atoms.end()) return it->second;
  std::wstring wide(name.begin(), name.end());
  ATOM atom = GlobalAddAtomW(wide.c_str());
  if (atom) rec.name_atoms[name] = atom;
  return atom;
}

void RunDefaultAction(FormRecord& rec, WPARAM child) {
  auto children = AccessibleChildren(*rec.form);
  if (child < 1 || child > children.size()) return;
  Control* c = children[child - 1].control;
  Fire([c] { DoDefaultAction(*c); });
}

void RaiseEvent(FormRecord& rec, const Control& c, AccessEvent event) {
  if (!rec.hwnd || !FormRaises(c, event)) return;
  const DWORD id = event == AccessEvent::kFocus        ? EVENT_OBJECT_FOCUS
                   : event == AccessEvent::kNameChange ? EVENT_OBJECT_NAMECHANGE
                   : event == AccessEvent::kAlert      ? EVENT_SYSTEM_ALERT
                                                       : EVENT_OBJECT_VALUECHANGE;
  if (long child = ChildIdOf(*rec.form, c); child > 0) NotifyWinEvent(id, rec.hwnd, OBJID_CLIENT, child);
}

void ReleaseAccessible(FormRecord& rec) {
  for (auto& [name, atom] : rec.name_atoms) GlobalDeleteAtom(atom);
  rec.name_atoms.clear();
  // Readers still holding the object find it disconnected: it asks the
  // window, which is gone.
}

}  // namespace kit::win
