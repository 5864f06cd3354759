#include "forms/Accessible.hpp"

#include <string>

#include <ole2.h>
#include <oleacc.h>

#include "platform/win32/LateBound.hpp"

namespace varnex::forms {

namespace {

// A control with a name of its own answers a screen reader's request for
// its accessible object with the system's standard object for it, in which
// only the name is replaced. The accessibility and COM libraries are bound
// at the first such request: a program nobody reads aloud never loads them,
// and a system without them leaves the standard names in place.

struct Accessibility {
    using CreateStandard = HRESULT WINAPI(HWND, LONG, REFIID, void**);
    using FromObject = LRESULT WINAPI(REFIID, WPARAM, LPUNKNOWN);
    using AllocString = BSTR WINAPI(const OLECHAR*);
    using Initialize = HRESULT WINAPI(LPVOID, DWORD);

    CreateStandard* createStandard =
        platform::win32::LateBound<CreateStandard>("oleacc.dll", "CreateStdAccessibleObject");
    FromObject* fromObject = platform::win32::LateBound<FromObject>("oleacc.dll", "LresultFromObject");
    AllocString* allocString = platform::win32::LateBound<AllocString>("oleaut32.dll", "SysAllocString");
    bool ready = createStandard && fromObject && allocString && Initialized();

    static bool Initialized() {
        // The object is handed across to the reader through COM, which the
        // window's thread joins as a single-threaded apartment, as the
        // shell's dialogs would have it; for the rest of the program.
        auto* initialize = platform::win32::LateBound<Initialize>("ole32.dll", "CoInitializeEx");
        if (!initialize) return false;
        const HRESULT result = initialize(nullptr, COINIT_APARTMENTTHREADED);
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }
};

const Accessibility& BoundAccessibility() {
    static const Accessibility bound;
    return bound;
}

// The standard object of a control with another name. Every call of the
// accessible interface but the name goes to the standard object. It lives as long as a reader holds it
// (COM counts its references, and it deletes itself at the last release).
class NamedAccessible final : public IAccessible, public IOleWindow {
public:
    NamedAccessible(HWND control, IAccessible* standard, std::wstring name, Accessibility::AllocString* allocString)
        : control_(control), standard_(standard), name_(std::move(name)), allocString_(allocString) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    // Only what this object itself answers. Any interface of the standard
    // object (its service provider, identity, child enumeration) would hand
    // the reader the standard object, and with it the standard name.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible)))
            *object = static_cast<IAccessible*>(this);
        else if (IsEqualIID(riid, __uuidof(IOleWindow)))
            *object = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            standard_->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // No access by name: the standard object's would answer with the
    // standard name. Readers call the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*names*/, UINT /*count*/, LCID /*locale*/,
                                            DISPID* /*ids*/) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID /*id*/, REFIID /*riid*/, LCID /*locale*/, WORD /*flags*/,
                                     DISPPARAMS* /*params*/, VARIANT* /*result*/, EXCEPINFO* /*exception*/,
                                     UINT* /*argument*/) override {
        return E_NOTIMPL;
    }

    // The window is the control's, as the standard object would say.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enter*/) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = allocString_(name_.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    HWND control_;
    IAccessible* standard_;
    std::wstring name_;
    Accessibility::AllocString* allocString_;
    LONG references_ = 1;
};

std::wstring Wide(const Text& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

}  // namespace

LRESULT AnswerWithName(HWND control, WPARAM request, const Text& name) {
    const Accessibility& bound = BoundAccessibility();
    IAccessible* standard = nullptr;
    if (!bound.ready ||
        FAILED(bound.createStandard(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        return 0;
    auto* named = new NamedAccessible(control, standard, Wide(name), bound.allocString);
    const LRESULT answer = bound.fromObject(__uuidof(IAccessible), request, static_cast<IAccessible*>(named));
    named->Release();
    return answer > 0 ? answer : 0;
}

}  // namespace varnex::forms
