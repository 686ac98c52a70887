#include "ui/win32/accessible_object.hpp"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <memory>

#include "ui/win32/accessibility_library.hpp"
#include "ui/win32/accessible_names.hpp"
#include "ui/win32/wide_text.hpp"
#include "ui/win32/window_styles.hpp"

namespace proxylist {
namespace {

constexpr UINT_PTR accessible_name_subclass = 0x4143;

// The interface identifiers come from the declarations (__uuidof): the import library's
// IID_IAccessible is no GUID but a call thunk.

bool is_self(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's object for the control, with our name (and role). A COM object owns itself:
// the last Release ends it.
class NamedAccessible final : public IAccessible {
  public:
    NamedAccessible(IAccessible* system, AccessibleIdentity identity)
        : system_(system), identity_(std::move(identity)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(id, __uuidof(IUnknown)) || IsEqualIID(id, __uuidof(IDispatch)) ||
            IsEqualIID(id, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The window and the children are the system object's; nothing else is handed on, so
        // that COM marshals this object and not the one inside.
        if (IsEqualIID(id, __uuidof(IOleWindow)) || IsEqualIID(id, __uuidof(IEnumVARIANT))) {
            return system_->QueryInterface(id, object);
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            std::unique_ptr<NamedAccessible> ended(this);
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return system_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return system_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return system_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument_error) override {
        return system_->Invoke(member, id, locale, flags, parameters, result, exception,
                               argument_error);
    }

    // IAccessible: the name and the role are ours, the rest the system object's.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!is_self(child)) {
            return system_->get_accName(child, name);
        }
        if (name == nullptr) {
            return E_INVALIDARG;
        }
        *name = accessibility_library()->sys_alloc_string_len(
            identity_.name.data(), static_cast<UINT>(identity_.name.size()));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!is_self(child) || !identity_.role) {
            return system_->get_accRole(child, role);
        }
        if (role == nullptr) {
            return E_INVALIDARG;
        }
        role->vt = VT_I4;
        role->lVal = *identity_.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return system_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return system_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return system_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return system_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return system_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return system_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return system_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return system_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return system_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return system_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return system_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return system_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return system_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return system_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return system_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return system_->put_accValue(child, value);
    }

  private:
    ~NamedAccessible() { system_->Release(); }
    friend std::default_delete<NamedAccessible>;

    IAccessible* system_;
    AccessibleIdentity identity_;
    std::atomic<ULONG> references_{1};
};

// Handing an object across (LresultFromObject) needs COM on the control's thread. Taken the
// first time a screen reader asks, so that a start without one pays nothing for it.
bool com_ready_on_this_thread(const AccessibilityLibrary& library) {
    thread_local const bool ready =
        SUCCEEDED(library.co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED));
    return ready;
}

LRESULT CALLBACK named_control_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                         UINT_PTR, DWORD_PTR) {
    if (message == WM_GETOBJECT) {
        ControlId id{};
        if (control_id_of_window_id(GetDlgCtrlID(control), id)) {
            const AccessibleIdentity identity{wide_from_utf8(accessible_name(id)), std::nullopt};
            if (const auto answer = answer_accessible_object(control, wparam, lparam, identity)) {
                return *answer;
            }
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, named_control_procedure, accessible_name_subclass);
    }
    return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace

std::optional<LRESULT> answer_accessible_object(HWND control, WPARAM wparam, LPARAM lparam,
                                                const AccessibleIdentity& identity) {
    if (static_cast<DWORD>(lparam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return std::nullopt;
    }
    const AccessibilityLibrary* library = accessibility_library();
    if (library == nullptr || !com_ready_on_this_thread(*library)) {
        return std::nullopt;
    }
    IAccessible* system = nullptr;
    if (FAILED(library->create_std_accessible_object(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&system))) ||
        system == nullptr) {
        return std::nullopt;
    }
    auto named = std::make_unique<NamedAccessible>(system, identity);
    // LresultFromObject takes its own reference; ours ends here.
    const LRESULT answer = library->lresult_from_object(__uuidof(IAccessible), wparam, named.get());
    named.release()->Release();
    return answer;
}

bool give_accessible_name(HWND control) {
    return SetWindowSubclass(control, named_control_procedure, accessible_name_subclass, 0) !=
           FALSE;
}

}  // namespace proxylist
