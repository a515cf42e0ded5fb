#include "app/win32/AccessibleControl.h"

// After windows.h.
#include <commctrl.h>
#include <oleacc.h>

#include <string>

#include "app/win32/WideText.h"

namespace sf {
namespace {

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// COM objects end in their own Release, never through a base's destructor,
// and COM's interfaces have none.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The system's accessible object for a control, with its own name and
// description; everything else is the system's answer.
class NamedAccessible final : public IAccessible, public IOleWindow {
  public:
    NamedAccessible(IAccessible* system, HWND window, std::u16string_view name,
                    std::u16string_view description)
        : system(system),
          window(window),
          name(wideText(name)),
          description(wideText(description)) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == __uuidof(IOleWindow)) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return system->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return system->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return system->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return system->Invoke(member, id, locale, flags, parameters, result, exception,
                              argumentError);
    }

    // IAccessible: the two texts of our own.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* text) override {
        if (!isSelf(child)) return system->get_accName(child, text);
        return copy(name, text);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (!isSelf(child) || description.empty()) return system->get_accDescription(child, text);
        return copy(description, text);
    }

    // IAccessible: the system's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return system->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return system->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return system->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return system->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return system->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return system->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return system->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return system->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return system->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
        return system->accSelect(how, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return system->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return system->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return system->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return system->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR text) override {
        return system->put_accName(child, text);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return system->put_accValue(child, value);
    }

    // IOleWindow: the window the object stands for, so a reader can find it.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* found) override {
        if (!found) return E_POINTER;
        *found = window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ~NamedAccessible() { system->Release(); }

    static HRESULT copy(const std::wstring& value, BSTR* text) {
        if (!text) return E_POINTER;
        *text = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible* system;
    HWND window;
    std::wstring name;
    std::wstring description;
    LONG references = 1;
};

#pragma GCC diagnostic pop

constexpr UINT_PTR kSubclassId = 1;

// The answer to a reader's request for the control's object, or 0 when the
// system's own must do.
LRESULT namedObject(HWND control, const AccessibleNameTemplate& entry, WPARAM flags) {
    IAccessible* system = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&system)))) {
        return 0;
    }
    auto* named = new NamedAccessible(system, control, entry.name, toolTipOf(entry.control));
    const LRESULT answer =
        LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(named));
    named->Release();
    // A failure comes back as a negative error code.
    return answer > 0 ? answer : 0;
}

LRESULT CALLBACK answerScreenReaders(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR entry) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const LRESULT answer = namedObject(
                control, *reinterpret_cast<const AccessibleNameTemplate*>(entry), wParam)) {
            return answer;
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, answerScreenReaders, kSubclassId);
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void nameForScreenReaders(HWND control, const AccessibleNameTemplate& entry) {
    SetWindowSubclass(control, answerScreenReaders, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(&entry));
}

}  // namespace sf
