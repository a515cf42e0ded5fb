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
        // The identifier edits take the editing keys and what types hex digits.
        KeyCase{"digit in AP VID", {MainDigit, IDC_AP_VID, false, false, u"1"}, Pass},
        KeyCase{"keypad digit in IAP PID", {KeypadDigit, IDC_IAP_PID, false, false, u"7"}, Pass},
        KeyCase{"Shift+A in AP usage", {LetterAToF, IDC_AP_USAGE, false, false, u"A"}, Pass},
        KeyCase{"Shift+1 in AP VID types !", {MainDigit, IDC_AP_VID, false, false, u"!"}, Consume},
        KeyCase{"1 on AZERTY types &", {MainDigit, IDC_AP_PID, false, false, u"&"}, Consume},
        KeyCase{"Shift+1 on AZERTY types 1", {Character, IDC_AP_PID, false, false, u"1"}, Pass},
        KeyCase{"G in AP VID", {Character, IDC_AP_VID, false, false, u"g"}, Consume},
        KeyCase{"a character still to come", {Character, IDC_AP_VID}, Pass},
        KeyCase{"backspace in IAP usage", {Backspace, IDC_IAP_USAGE}, Pass},
        KeyCase{"delete in AP PID", {Delete, IDC_AP_PID}, Pass},
        KeyCase{"tab in IAP VID", {Tab, IDC_IAP_VID}, Pass},
        KeyCase{"arrows, Home, End in AP VID", {Navigation, IDC_AP_VID}, Pass},
        KeyCase{"Insert, F5 in AP VID", {Other, IDC_AP_VID}, Consume},
        KeyCase{"Ctrl+C copies", {LetterAToF, IDC_AP_VID, false, true, u"\x03"}, Pass},
        KeyCase{"Ctrl+V pastes nothing", {Character, IDC_AP_VID, false, true, u"\x16"}, Consume},
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

// The characters that reach a control one by one, after the key that typed them passed.
TEST(CharacterRules, IdentifierEditsTakeHexDigitsAndCopyOnly) {
    const std::u16string taken = u"0123456789ABCDEFabcdef\x01\x03\x08";
    const std::u16string refused = u"!&gGzZ .,-+\x16\x18\x1a\x7f\u00e9\uff11";
    for (int edit :
         {IDC_AP_VID, IDC_AP_PID, IDC_AP_USAGE, IDC_IAP_VID, IDC_IAP_PID, IDC_IAP_USAGE}) {
        SCOPED_TRACE(edit);
        for (char16_t c : taken) EXPECT_TRUE(characterPasses(edit, c)) << int(c);
        for (char16_t c : refused) EXPECT_FALSE(characterPasses(edit, c)) << int(c);
    }
    for (int other : {IDC_VERSION, IDC_DIGEST, IDC_TITLE, IDC_NOTE}) {
        SCOPED_TRACE(other);
        for (char16_t c : refused) EXPECT_TRUE(characterPasses(other, c)) << int(c);
    }
}

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
