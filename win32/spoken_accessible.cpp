#include "win32/spoken_accessible.h"

#include <oleacc.h>

#include "system/owned_handle_windows.h"

namespace brivana::win32 {

namespace {

// Every call goes to the standard object, but the name, the description and the role of the
// control itself (CHILDID_SELF), which come from the words when they are given.
class Spoken final : public IAccessible {
public:
    Spoken(ComReference<IAccessible> standard, SpokenWords words) : standard_(std::move(standard)), words_(std::move(words)) {}
    Spoken(const Spoken&) = delete;
    Spoken& operator=(const Spoken&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Own(child, words_.name, name) ? S_OK : standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return Own(child, words_.description, description) ? S_OK : standard_->get_accDescription(child, description);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || words_.role == 0 || !role)
            return standard_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = words_.role;
        return S_OK;
    }

    // The rest as the standard object has it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return standard_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override
    {
        return standard_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override
    {
        return standard_->Invoke(d, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return standard_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return standard_->get_accChild(c, d); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return standard_->get_accValue(c, v); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return standard_->get_accState(c, s); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return standard_->get_accHelp(c, h); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override
    {
        return standard_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override
    {
        return standard_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return standard_->get_accFocus(c); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return standard_->get_accSelection(c); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override
    {
        return standard_->get_accDefaultAction(c, a);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return standard_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override
    {
        return standard_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override { return standard_->accNavigate(d, s, e); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return standard_->accHitTest(x, y, c); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return standard_->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return standard_->put_accName(c, n); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return standard_->put_accValue(c, v); }

private:
    ~Spoken() = default;

    // The control's own words for itself, when it has them.
    static bool Own(const VARIANT& child, const std::wstring& words, BSTR* out)
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || words.empty() || !out) return false;
        *out = SysAllocStringLen(words.data(), static_cast<UINT>(words.size()));
        return *out != nullptr;
    }

    ComReference<IAccessible> standard_;
    SpokenWords words_;
    LONG references_ = 1;
};

}  // namespace

LRESULT SpokenAccessible(HWND control, WPARAM flags, LPARAM objectId, const SpokenWords& words)
{
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || (words.name.empty() && words.description.empty() && words.role == 0)) return 0;
    ComReference<IAccessible> standard;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible), standard.out()))) return 0;
    // LresultFromObject takes its own reference; this one goes with the holder.
    const ComReference<IAccessible> spoken(new Spoken(std::move(standard), words));
    return LresultFromObject(__uuidof(IAccessible), flags, spoken.get());
}

}  // namespace brivana::win32
