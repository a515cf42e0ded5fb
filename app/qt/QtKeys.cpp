#include "app/qt/QtKeys.h"

#include <QKeyEvent>

namespace sf {
namespace {

KeyClass keyClassOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return (event.modifiers() & Qt::KeypadModifier) ? KeyClass::KeypadDigit
                                                        : KeyClass::MainDigit;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_F) return KeyClass::LetterAToF;
    switch (key) {
        case Qt::Key_Backspace:
            return KeyClass::Backspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return KeyClass::Tab;
        case Qt::Key_Delete:
            return KeyClass::Delete;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            return KeyClass::Navigation;
        case Qt::Key_Escape:
            return KeyClass::Escape;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return KeyClass::Enter;
        case Qt::Key_F4:
            return KeyClass::F4;
        default:
            return event.text().isEmpty() ? KeyClass::Other : KeyClass::Character;
    }
}

}  // namespace

KeyStroke keyStrokeOf(const QKeyEvent& event, int target) {
    return {keyClassOf(event), target, (event.modifiers() & Qt::AltModifier) != 0,
            (event.modifiers() & Qt::ControlModifier) != 0, event.text().toStdU16String()};
}

MouseButton mouseButtonOf(int qtButton) {
    if (qtButton == Qt::LeftButton) return MouseButton::Left;
    if (qtButton == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Middle;
}

}  // namespace sf
