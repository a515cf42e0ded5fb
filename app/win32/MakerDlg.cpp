#include "app/win32/MakerDlg.h"

#include "app/win32/AccessibleControl.h"
#include "app/win32/DialogTemplateBuilder.h"
#include "app/win32/ProcessObjects.h"
#include "app/win32/WideText.h"
#include "app/win32/Win32Prompts.h"
#include "dialog/DialogTemplate.h"
#include "res/resource.h"

namespace sf {
namespace {

KeyClass keyClassOf(WPARAM key) {
    if (key >= '0' && key <= '9') return KeyClass::MainDigit;
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return KeyClass::KeypadDigit;
    if (key >= 'A' && key <= 'F') return KeyClass::LetterAToF;
    switch (key) {
        case VK_BACK:
            return KeyClass::Backspace;
        case VK_TAB:
            return KeyClass::Tab;
        case VK_DELETE:
            return KeyClass::Delete;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
            return KeyClass::Navigation;
        case VK_ESCAPE:
            return KeyClass::Escape;
        case VK_CANCEL:
            return KeyClass::Break;
        case VK_RETURN:
            return KeyClass::Enter;
        case VK_F4:
            return KeyClass::F4;
        default:
            // What it types comes later, as WM_CHAR.
            return MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) != 0
                       ? KeyClass::Character
                       : KeyClass::Other;
    }
}

bool isHeld(int key) {
    return GetKeyState(key) < 0;
}

// Failed writes of setting.ini go to the debugger's log; the dialog goes on.
void logSettingsNotSaved(const std::string& reason) {
    OutputDebugStringA(("Settings not saved: " + reason + "\n").c_str());
}

}  // namespace

MakerDialog::Services CSparrowflasherMakerDlg::defaultServices() {
    return MakerDialog::systemServices(templateFileName, logSettingsNotSaved);
}

CSparrowflasherMakerDlg::CSparrowflasherMakerDlg(MakerDialog::Services services)
    : mainIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN))),
      prompts(std::make_unique<Win32Prompts>(window)),
      behaviour(*this, *prompts, std::move(services)) {}

CSparrowflasherMakerDlg::~CSparrowflasherMakerDlg() {
    if (window) DestroyWindow(window);
    if (scaledBanner) DeleteObject(scaledBanner);
}

bool CSparrowflasherMakerDlg::Create() {
    const std::vector<WORD> dialogTemplate = makeDialogTemplate();
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                               reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr,
                               DialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

INT_PTR CSparrowflasherMakerDlg::DoModal() {
    if (!Create()) return -1;
    MSG message;
    while (!ended) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The process is asked to end: close, and leave the request for the caller.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        PumpMessage(message);
    }
    DestroyWindow(window);
    return result;
}

void CSparrowflasherMakerDlg::PumpMessage(MSG& message) {
    if (PreTranslateMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int CSparrowflasherMakerDlg::controlIdOf(HWND control) const {
    if (!control || GetParent(control) != window) return kNoControlId;
    return GetDlgCtrlID(control);
}

BOOL CSparrowflasherMakerDlg::PreTranslateMessage(MSG& message) {
    // Keys held with Alt but not Ctrl come as system keys (WM_SYSKEYDOWN),
    // which the rules never see: the system closes the window on Alt+F4, and
    // no control types from them.
    if (message.message == WM_KEYDOWN) {
        const KeyStroke stroke{keyClassOf(message.wParam), controlIdOf(message.hwnd),
                               isHeld(VK_MENU), isHeld(VK_CONTROL)};
        switch (behaviour.PreTranslateKey(stroke)) {
            case KeyAction::Pass:
                break;
            case KeyAction::Close:
                PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                return TRUE;
            case KeyAction::Consume:
            case KeyAction::MakePackage:
                return TRUE;
        }
    }
    // The characters a passing key types are checked one by one as they come.
    if (message.message == WM_CHAR &&
        !characterPasses(controlIdOf(message.hwnd), static_cast<char16_t>(message.wParam))) {
        return TRUE;
    }
    if (message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN) {
        const MouseButton button =
            message.message == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right;
        if (behaviour.PreTranslateClick(controlIdOf(message.hwnd), button)) return TRUE;
    }
    toolTipControl.RelayEvent(message);
    return window && IsDialogMessageW(window, &message);
}

INT_PTR CALLBACK CSparrowflasherMakerDlg::DialogProc(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CSparrowflasherMakerDlg*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window = window;
    }
    auto* dialog = reinterpret_cast<CSparrowflasherMakerDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->window = nullptr;
        return FALSE;
    }
    return dialog->WindowProc(message, wParam, lParam);
}

INT_PTR CSparrowflasherMakerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_PAINT:
            if (!IsIconic(window)) return FALSE;
            OnPaint();
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(mainIcon);
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CSparrowflasherMakerDlg::OnInitDialog() {
    CentreWindow();
    behaviour.DoDataExchange();
    ScaleBannerToDpi();
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mainIcon));
    toolTipControl.Create(window);
    for (const ToolTipTemplate& tip : kToolTips) {
        toolTipControl.AddTool(GetDlgItem(tip.control), tip.text);
    }
    toolTipControl.Configure();
    for (const AccessibleNameTemplate& entry : kAccessibleNames) {
        nameForScreenReaders(GetDlgItem(entry.control), entry);
    }
    DragAcceptFiles(window, TRUE);
    behaviour.OnInitDialog();
    settingsDirectory = behaviour.settingsDirectory();
    // The focus is placed: the system must not move it.
    return FALSE;
}

void CSparrowflasherMakerDlg::ScaleBannerToDpi() {
    HWND banner = nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); child && !banner;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) banner = child;
    }
    HDC screen = GetDC(window);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    const auto original =
        reinterpret_cast<HBITMAP>(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size{};
    if (banner && dpi != 96 && original && GetObjectW(original, sizeof size, &size)) {
        const int width = MulDiv(size.bmWidth, dpi, 96);
        const int height = MulDiv(size.bmHeight, dpi, 96);
        scaledBanner = CreateCompatibleBitmap(screen, width, height);
        HDC from = CreateCompatibleDC(screen);
        HDC to = CreateCompatibleDC(screen);
        const HGDIOBJ fromBefore = SelectObject(from, original);
        const HGDIOBJ toBefore = SelectObject(to, scaledBanner);
        // Halftone: the picture's lines and text stay smooth at 150 %.
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, fromBefore);
        SelectObject(to, toBefore);
        DeleteDC(from);
        DeleteDC(to);
        // The control hands back the picture it loaded from the template,
        // which is ours to delete now; the scaled one is deleted with the dialog.
        const auto loaded = reinterpret_cast<HBITMAP>(SendMessageW(
            banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaledBanner)));
        if (loaded && loaded != scaledBanner) DeleteObject(loaded);
    }
    ReleaseDC(window, screen);
}

void CSparrowflasherMakerDlg::OnCommand(int id, int notification) {
    if (id == IDOK || id == IDCANCEL) {
        ended = true;
        result = id;
        return;
    }
    if (id == Win32Prompts::kCancelWriteId) {
        prompts->OnBnClickedCancelWrite();
    } else if (notification == BN_CLICKED) {
        behaviour.OnBnClicked(id);
    } else if (notification == EN_CHANGE && !settingText) {
        behaviour.saveField(id);
    }
}

void CSparrowflasherMakerDlg::OnDropFiles(HDROP drop) {
    // While a message box or a chooser of the dialog is open, the dialog is
    // disabled and takes nothing.
    if (!IsWindowEnabled(window)) return DragFinish(drop);
    std::vector<std::filesystem::path> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring name(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
    }
    // A drop on the title bar or the frame comes with a place on the screen,
    // not in the client area: it lies on no control, as one on the background.
    POINT place{};
    const bool inClientArea = DragQueryPoint(drop, &place);
    // Released before the rule may show a message box.
    DragFinish(drop);
    behaviour.dropFiles(inClientArea ? controlAt(place) : kNoControlId, files);
}

int CSparrowflasherMakerDlg::controlAt(POINT place) const {
    // The topmost control there: the group box comes after the controls it
    // frames, and so lies beneath them.
    return controlIdOf(ChildWindowFromPointEx(window, place, CWP_SKIPINVISIBLE));
}

void CSparrowflasherMakerDlg::CentreWindow() {
    // The template has no place of its own: the window goes to the middle of
    // the work area (the screen less the taskbar) of its monitor.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const RECT& area = monitor.rcWork;
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSparrowflasherMakerDlg::OnPaint() {
    // Minimised: the icon, centred in the client area.
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(context, x, y, mainIcon);
    EndPaint(window, &paint);
}

// ---- DialogControls ----

std::u16string CSparrowflasherMakerDlg::text(ControlId control) const {
    HWND item = GetDlgItem(control);
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(
        GetWindowTextW(item, value.data(), static_cast<int>(value.size()))));
    return u16Text(value);
}

void CSparrowflasherMakerDlg::setText(ControlId control, std::u16string_view value) {
    settingText = true;
    SetWindowTextW(GetDlgItem(control), wideText(value).c_str());
    settingText = false;
}

void CSparrowflasherMakerDlg::setTypingLimit(ControlId control, int limit) {
    // 0 lifts the limit to the most the edit can hold.
    SendMessageW(GetDlgItem(control), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

bool CSparrowflasherMakerDlg::isChecked(ControlId checkBox) const {
    return IsDlgButtonChecked(window, checkBox) == BST_CHECKED;
}

void CSparrowflasherMakerDlg::check(ControlId checkBox) {
    CheckDlgButton(window, checkBox, BST_CHECKED);
}

void CSparrowflasherMakerDlg::setFocus(ControlId control) {
    SetFocus(GetDlgItem(control));
}

}  // namespace sf
