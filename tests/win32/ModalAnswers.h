#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace sf::test {

// What a modal window showed when it was answered.
struct SeenWindow {
    std::wstring caption;
    std::wstring text;    // a message box's text
    bool icon = false;    // a message box's icon is shown
    std::wstring name;    // the name a file chooser opened with
    std::wstring folder;  // the folder a file chooser opened in
};

// Answers the modal windows (message boxes, file choosers) that open while
// the dialog runs a command, from inside their own loops, as a user would:
// one scripted answer per window, in order. A window without an answer is
// noted and closed, so a test fails instead of waiting for ever.
class ModalAnswers {
  public:
    using Answer = std::function<void(HWND window)>;

    // Checks for a new window every 20 ms while this object lives.
    explicit ModalAnswers(HWND mainDialog);
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // Answers the next window with `answer`.
    ModalAnswers& then(Answer answer);

    // Presses a button of a message box: IDOK, IDYES, IDNO.
    static Answer press(int button);
    // Types a path into a file chooser's name field and presses its OK button.
    static Answer choose(const std::wstring& path);
    // Notes the filter a file chooser shows, then cancels it.
    static Answer cancel();

    std::vector<SeenWindow> seen;
    // The filter names the file choosers showed first.
    std::vector<std::wstring> filters;
    int unexpected = 0;

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void answerNewWindows();

    HWND mainDialog;
    UINT_PTR timer;
    std::deque<Answer> answers;
    std::set<HWND> answered;
};

}  // namespace sf::test
