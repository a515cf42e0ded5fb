#include "app/win32/DialogTemplateBuilder.h"

#include <string_view>

#include "dialog/DialogTemplate.h"
#include "res/resource.h"

namespace sf {
namespace {

// The system's predefined control classes, named by their atoms.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

constexpr std::u16string_view kDialogFont = u"MS Shell Dlg";

class TemplateWriter {
  public:
    void word(WORD value) { words.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(std::u16string_view value) {
        for (char16_t unit : value) word(unit);
        word(0);
    }
    // A class or a resource named by its number instead of a text.
    void ordinal(WORD value) {
        word(0xFFFF);
        word(value);
    }
    // Each control begins on a DWORD boundary.
    void alignToDword() {
        if (words.size() % 2) word(0);
    }
    void rect(const DialogRect& r) {
        word(static_cast<WORD>(r.x));
        word(static_cast<WORD>(r.y));
        word(static_cast<WORD>(r.width));
        word(static_cast<WORD>(r.height));
    }

    std::vector<WORD> words;
};

DWORD editStyle(unsigned style) {
    DWORD result = ES_LEFT | WS_BORDER | WS_TABSTOP;
    if (style & kMultiLine) result |= ES_MULTILINE;
    if (style & kAutoHScroll) result |= ES_AUTOHSCROLL;
    if (style & kWantReturn) result |= ES_WANTRETURN;
    if (style & kReadOnly) result |= ES_READONLY;
    return result;
}

DWORD labelStyle(unsigned style) {
    DWORD result = (style & kAlignRight) ? SS_RIGHT : SS_LEFT;
    if (style & kCentreVertically) result |= SS_CENTERIMAGE;
    return result;
}

struct ControlClass {
    WORD atom;
    DWORD style;
};

ControlClass classOf(const ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::Edit:
            return {kEditClass, editStyle(control.style)};
        case ControlKind::PushButton:
            return {kButtonClass, BS_PUSHBUTTON | WS_TABSTOP};
        case ControlKind::CheckBox:
            return {kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP};
        case ControlKind::GroupBox:
            return {kButtonClass, BS_GROUPBOX};
        case ControlKind::Label:
            return {kStaticClass, labelStyle(control.style)};
        case ControlKind::Banner:
            return {kStaticClass, SS_BITMAP};
    }
    return {kStaticClass, 0};
}

}  // namespace

std::vector<WORD> makeDialogTemplate() {
    TemplateWriter out;
    out.word(1);       // version
    out.word(0xFFFF);  // an extended template
    out.dword(0);      // help id
    out.dword(WS_EX_APPWINDOW);
    out.dword(DS_SETFONT | DS_FIXEDSYS | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION |
              WS_SYSMENU);
    out.word(static_cast<WORD>(kDialogTemplate.size()));
    out.rect({0, 0, kDialogWidthUnits, kDialogHeightUnits});
    out.word(0);  // no menu
    out.word(0);  // the system's dialog class
    out.text(kDialogCaption);
    out.word(kDialogFontPoints);
    out.word(FW_NORMAL);
    out.word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // not italic; the character set
    out.text(kDialogFont);

    for (const ControlTemplate& control : kDialogTemplate) {
        const ControlClass type = classOf(control);
        out.alignToDword();
        out.dword(0);  // help id
        out.dword(0);  // no extended style
        out.dword(WS_CHILD | WS_VISIBLE | type.style);
        out.rect(control.rect);
        out.dword(static_cast<DWORD>(control.id));
        out.ordinal(type.atom);
        if (control.kind == ControlKind::Banner) {
            out.ordinal(IDB_BANNER);
        } else {
            out.text(control.caption);
        }
        out.word(0);  // no creation data
    }
    return out.words;
}

}  // namespace sf
