#include "dialog/DialogMakeUi.h"

#include "platform/ExecutablePath.h"
#include "platform/Utf.h"

namespace sf {

DialogMakeUi::~DialogMakeUi() {
    if (showingProgress) prompts.endProgress();
}

void DialogMakeUi::message(const std::string& text, const std::string& caption) {
    prompts.showMessage(utf8ToUtf16(text), utf8ToUtf16(caption), DialogPrompts::Icon::None);
}

void DialogMakeUi::applicationMessage(const std::string& text) {
    prompts.showMessage(utf8ToUtf16(text), applicationName(), DialogPrompts::Icon::Exclamation);
}

std::optional<std::filesystem::path> DialogMakeUi::askSavePath() {
    return prompts.chooseSaveFile();
}

bool DialogMakeUi::askYesNo(const std::string& text, const std::string& caption) {
    return prompts.askYesNo(utf8ToUtf16(text), utf8ToUtf16(caption));
}

void DialogMakeUi::progress(uint64_t written, uint64_t total) {
    if (total < kProgressWorthShowing) return;
    showingProgress = true;
    if (!prompts.showProgress(static_cast<int>(written * 100 / total))) cancelled = true;
}

std::u16string applicationName() {
    return pathToUtf16(executablePath().stem());
}

}  // namespace sf
