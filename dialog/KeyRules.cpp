#include "dialog/KeyRules.h"

#include "settings/ProjectSettings.h"

namespace sf {
namespace {

bool passesHexEdit(KeyClass key) {
    switch (key) {
        case KeyClass::MainDigit:
        case KeyClass::KeypadDigit:
        case KeyClass::LetterAToF:
        case KeyClass::Backspace:
        case KeyClass::Tab:
        case KeyClass::Delete:
            return true;
        default:
            return false;
    }
}

bool isHexEdit(int control) {
    const TextField* field = findTextField(control);
    return field && field->hexKeysOnly;
}

}  // namespace

KeyAction keyAction(const KeyStroke& stroke) {
    if (stroke.alt && !stroke.ctrl) {
        return stroke.key == KeyClass::F4 ? KeyAction::Close : KeyAction::Consume;
    }
    if (stroke.key == KeyClass::Escape || stroke.key == KeyClass::Break) {
        return KeyAction::Consume;
    }
    if (stroke.key == KeyClass::Enter) return KeyAction::MakePackage;
    if (isHexEdit(stroke.target) && !passesHexEdit(stroke.key)) return KeyAction::Consume;
    return KeyAction::Pass;
}

}  // namespace sf
