#include "Win32Fixture.h"
// After windows.h, which the fixture brings.
#include <oleacc.h>

#include <set>

#include "dialog/DialogTemplate.h"

namespace sf::test {
namespace {

// A text the accessible object gives, or "" when it has none.
template <typename Getter>
std::wstring textOf(IAccessible& object, Getter get) {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const HRESULT result = (object.*get)(self, &text);
    std::wstring value = SUCCEEDED(result) && text ? std::wstring(text) : std::wstring();
    SysFreeString(text);
    return value;
}

// Reads the dialog as a screen reader does: each control's accessible object,
// asked of its window, and the order of the windows, in which a reader takes
// the label before a control as its name.
TEST_F(Win32DialogTest, EveryControlHasANameOfItsOwnAndItsTipAsDescription) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    open();
    std::set<std::wstring> names;
    int reached = 0;
    for (HWND child = GetWindow(dialog->GetSafeHwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        SCOPED_TRACE(testing::Message()
                     << id << " " << classOf(child) << " \"" << windowText(child) << "\"");
        if (classOf(child) == L"Static" && !isBanner(child)) {
            // A label names the edit that follows it.
            EXPECT_EQ(classOf(GetWindow(child, GW_HWNDNEXT)), L"Edit");
        }
        if (id == kNoControlId || id == 0) continue;
        IAccessible* object = nullptr;
        const HRESULT found =
            AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object));
        ASSERT_TRUE(SUCCEEDED(found)) << std::hex << found;
        const std::wstring name = textOf(*object, &IAccessible::get_accName);
        const std::wstring description = textOf(*object, &IAccessible::get_accDescription);
        object->Release();
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(names.insert(name).second) << "a second control is called " << name;
        const std::u16string_view tip = toolTipOf(ControlId(id));
        EXPECT_EQ(description, std::wstring(tip.begin(), tip.end()));
        ++reached;
    }
    EXPECT_EQ(reached, static_cast<int>(kAccessibleNames.size()));
    dialog.reset();
    CoUninitialize();
}

}  // namespace
}  // namespace sf::test
