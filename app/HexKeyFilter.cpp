#include "app/HexKeyFilter.h"

#include <QKeyEvent>

namespace sf {

bool hexKeyPasses(const QKeyEvent& event) {
    const int key = event.key();
    // Main-row and keypad digits share these codes; the keypad adds a modifier.
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return true;
    // Letter keys carry the upper-case code with or without Shift.
    if (key >= Qt::Key_A && key <= Qt::Key_F) return true;
    // Shift+Tab arrives as Backtab: it moves the focus back as Tab moves it on.
    return key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Tab ||
           key == Qt::Key_Backtab;
}

}  // namespace sf
