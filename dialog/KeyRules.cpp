#include "dialog/KeyRules.h"

#include <algorithm>

#include "settings/ProjectSettings.h"

namespace sf {
namespace {

constexpr char16_t kSelectAll = 0x01;  // Ctrl+A
constexpr char16_t kCopy = 0x03;       // Ctrl+C
constexpr char16_t kBackspace = 0x08;

bool hexFieldTakes(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') ||
           c == kSelectAll || c == kCopy || c == kBackspace;
}

bool passesHexEdit(const KeyStroke& stroke) {
    switch (stroke.key) {
        case KeyClass::Backspace:
        case KeyClass::Tab:
        case KeyClass::Delete:
        case KeyClass::Navigation:
            return true;
        case KeyClass::MainDigit:
        case KeyClass::KeypadDigit:
        case KeyClass::LetterAToF:
        case KeyClass::Character:
            // What the key types decides, not the key.
            return std::ranges::all_of(stroke.typed, hexFieldTakes);
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
    if (isHexEdit(stroke.target) && !passesHexEdit(stroke)) return KeyAction::Consume;
    return KeyAction::Pass;
}

bool characterPasses(int target, char16_t character) {
    return !isHexEdit(target) || hexFieldTakes(character);
}

}  // namespace sf
