#include "ModalAnswers.h"

#include <commdlg.h>
#include <dlgs.h>

#include "WindowQueries.h"

#include <array>

namespace sf::test {
namespace {

ModalAnswers* active = nullptr;

// The text and the icon of a message box: its static controls.
BOOL CALLBACK readStatic(HWND child, LPARAM seenWindow) {
    auto& seen = *reinterpret_cast<SeenWindow*>(seenWindow);
    if (classOf(child) != L"Static" || !IsWindowVisible(child)) return TRUE;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen.icon = seen.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else {
        seen.text += windowText(child);
    }
    return TRUE;
}

struct Search {
    HWND mainDialog;
    const std::set<HWND>* answered;
    HWND found = nullptr;
};

BOOL CALLBACK findModal(HWND window, LPARAM searchPointer) {
    auto& search = *reinterpret_cast<Search*>(searchPointer);
    if (window == search.mainDialog || search.answered->contains(window)) return TRUE;
    if (!IsWindowVisible(window) || classOf(window) != L"#32770") return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

ModalAnswers::ModalAnswers(HWND mainDialog)
    : mainDialog(mainDialog), timer(SetTimer(nullptr, 0, 20, onTimer)) {
    active = this;
}

ModalAnswers::~ModalAnswers() {
    KillTimer(nullptr, timer);
    active = nullptr;
}

ModalAnswers& ModalAnswers::then(Answer answer) {
    answers.push_back(std::move(answer));
    return *this;
}

void CALLBACK ModalAnswers::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (active) active->answerNewWindows();
}

void ModalAnswers::answerNewWindows() {
    Search search{mainDialog, &answered};
    EnumThreadWindows(GetCurrentThreadId(), findModal, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    HWND window = search.found;
    answered.insert(window);
    SeenWindow seenWindow;
    seenWindow.caption = windowText(window);
    EnumChildWindows(window, readStatic, reinterpret_cast<LPARAM>(&seenWindow));
    seen.push_back(seenWindow);
    if (HWND filter = GetDlgItem(window, cmb1)) {
        std::array<wchar_t, 256> name{};
        const auto index = SendMessageW(filter, CB_GETCURSEL, 0, 0);
        SendMessageW(filter, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
        filters.push_back(name.data());
        std::array<wchar_t, MAX_PATH> folder{};
        SendMessageW(window, CDM_GETFOLDERPATH, folder.size(),
                     reinterpret_cast<LPARAM>(folder.data()));
        seen.back().folder = folder.data();
        seen.back().name = windowText(GetDlgItem(window, GetDlgItem(window, cmb13) ? cmb13 : edt1));
    }
    if (answers.empty()) {
        ++unexpected;
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    const Answer answer = std::move(answers.front());
    answers.pop_front();
    answer(window);
}

ModalAnswers::Answer ModalAnswers::press(int button) {
    return [button](HWND window) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
    };
}

ModalAnswers::Answer ModalAnswers::choose(const std::wstring& path) {
    return [path](HWND window) {
        // The name field: a combo box with an edit in newer choosers, an edit in older ones.
        const int field = GetDlgItem(window, cmb13) ? cmb13 : edt1;
        SetDlgItemTextW(window, field, path.c_str());
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    };
}

ModalAnswers::Answer ModalAnswers::cancel() {
    return press(IDCANCEL);
}

}  // namespace sf::test
