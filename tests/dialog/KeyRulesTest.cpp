#include "DialogFixture.h"

namespace sf::test {
namespace {

struct KeyCase {
    const char* name;
    KeyStroke stroke;
    KeyAction action;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class KeyRules : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyRules, DecideWhatBecomesOfAKey) {
    EXPECT_EQ(keyAction(GetParam().stroke), GetParam().action);
}

using enum KeyClass;
using enum KeyAction;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyRules,
    ::testing::Values(
        // Escape and Ctrl+Break do nothing and Enter makes a package, in every control.
        KeyCase{"escape in the title", {Escape, IDC_TITLE}, Consume},
        KeyCase{"escape on Make", {Escape, IDC_MAKE}, Consume},
        KeyCase{"Ctrl+Break on Default", {Break, IDC_DEFAULT, false, true}, Consume},
        KeyCase{"Ctrl+Alt+Break in the title", {Break, IDC_TITLE, true, true}, Consume},
        KeyCase{"enter in the note", {Enter, IDC_NOTE}, MakePackage},
        KeyCase{"enter on Default", {Enter, IDC_DEFAULT}, MakePackage},
        KeyCase{"enter in an identifier", {Enter, IDC_AP_VID}, MakePackage},
        // The identifier edits take the hex key classes and the editing keys only.
        KeyCase{"digit in AP VID", {MainDigit, IDC_AP_VID}, Pass},
        KeyCase{"keypad digit in IAP PID", {KeypadDigit, IDC_IAP_PID}, Pass},
        KeyCase{"A to F in AP usage", {LetterAToF, IDC_AP_USAGE}, Pass},
        KeyCase{"backspace in IAP usage", {Backspace, IDC_IAP_USAGE}, Pass},
        KeyCase{"delete in AP PID", {Delete, IDC_AP_PID}, Pass},
        KeyCase{"tab in IAP VID", {Tab, IDC_IAP_VID}, Pass},
        KeyCase{"G, space, arrows in AP VID", {Other, IDC_AP_VID}, Consume},
        KeyCase{"Ctrl+C passes with C", {LetterAToF, IDC_AP_VID, false, true}, Pass},
        KeyCase{"Ctrl+V is refused with V", {Other, IDC_AP_VID, false, true}, Consume},
        // Version, digest and the other edits take every key.
        KeyCase{"any key in the version", {Other, IDC_VERSION}, Pass},
        KeyCase{"any key in the digest", {Other, IDC_DIGEST}, Pass},
        KeyCase{"any key in the title", {Other, IDC_TITLE}, Pass},
        // Keys held with Alt are the system's; Ctrl+Alt is AltGr, an ordinary key.
        KeyCase{"Alt+F4 anywhere", {F4, IDC_NOTE, true}, Close},
        KeyCase{"Alt+G in the title", {Other, IDC_TITLE, true}, Consume},
        KeyCase{"Alt+1 in AP VID", {MainDigit, IDC_AP_VID, true}, Consume},
        KeyCase{"Alt+Enter", {Enter, IDC_TITLE, true}, Consume},
        KeyCase{"AltGr in the title", {Other, IDC_TITLE, true, true}, Pass},
        KeyCase{"AltGr in AP VID", {Other, IDC_AP_VID, true, true}, Consume},
        KeyCase{"F4 alone", {F4, IDC_TITLE}, Pass}));

TEST_F(DialogTest, EnterRunsMakeAndOtherKeysDoNot) {
    open();
    EXPECT_EQ(dialog->PreTranslateKey({Enter, IDC_NOTE}), MakePackage);
    EXPECT_EQ(prompts.log,
              std::vector<std::string>{messageLine(texts::kSpecifyImagePath, texts::kSelectImage)});
    EXPECT_EQ(dialog->PreTranslateKey({Escape, IDC_NOTE}), Consume);
    EXPECT_EQ(prompts.log.size(), 1u);
}

}  // namespace
}  // namespace sf::test
