#include "dialog/DialogMakeUi.h"

#include "dialog/MessageTexts.h"
#include "platform/ExecutablePath.h"
#include "platform/Utf.h"

namespace sf {
namespace {

using Kind = MakeFailure::Kind;

// A message box that names a failure: its text and caption, or, for an
// application message, no caption of its own.
struct FailureBox {
    std::u16string text;
    std::u16string_view caption;
    bool applicationMessage = false;
};

FailureBox boxFor(const MakeFailure& failure) {
    switch (failure.kind) {
        case Kind::NoInternalImage:
            return {std::u16string(texts::kSpecifyImagePath), texts::kSelectImage};
        case Kind::TemplateNotFound:
        case Kind::TemplateUnreadable:
            return {std::u16string(texts::kCannotOpenTemplate), texts::kOpenFile};
        case Kind::ImageUnreadable:
        case Kind::ImageInvalid:
            return {std::u16string(texts::kCannotOpenImage), texts::kOpenFile};
        case Kind::ImageTooLarge:
            return {u"The image " + pathToUtf16(failure.path) + u" holds " +
                        utf8ToUtf16(std::to_string(failure.size)) +
                        u" bytes; a package can hold images of at most 4294967295 bytes (4 GiB "
                        u"- 1).",
                    texts::kOpenFile};
        case Kind::NoCommandKeyFile:
            return {std::u16string(texts::kSelectCommandKeyFile), {}, true};
        case Kind::CommandKeyUnreadable:
            return {std::u16string(texts::kCannotOpenCommandKey), texts::kOpenCommandKey};
        case Kind::CommandKeyTooLong:
            return {std::u16string(texts::kCommandKeyTooLong), {}, true};
        case Kind::OutputUnwritable:
            // The system's reason follows the program's words on a line of its own.
            return {pathToUtf16(failure.path) + std::u16string(texts::kCannotOpenForWriting) +
                        u"\n" + utf8ToUtf16(failure.reason),
                    texts::kSaveFile};
        case Kind::WriteFailed:
            return {u"The package could not be written: " + utf8ToUtf16(failure.reason) +
                        u".\nNo package was written, and any existing file of that name was "
                        u"left as it was.",
                    texts::kSaveFile};
    }
    return {utf8ToUtf16(failure.reason), texts::kSaveFile};
}

}  // namespace

DialogMakeUi::~DialogMakeUi() {
    if (showingProgress) prompts.endProgress();
}

std::optional<std::filesystem::path> DialogMakeUi::askSavePath() {
    // Asked again after No to "Overwrite?": the chooser shows the name refused.
    auto chosen = prompts.chooseSaveFile(lastSavePath);
    lastSavePath = chosen.value_or(std::filesystem::path());
    return chosen;
}

bool DialogMakeUi::confirmOverwrite(const std::filesystem::path&) {
    return prompts.askYesNo(texts::kOverwriteQuestion, texts::kSaveFile);
}

void DialogMakeUi::failed(const MakeFailure& failure) {
    const FailureBox box = boxFor(failure);
    if (box.applicationMessage) {
        prompts.showMessage(box.text, applicationName(), DialogPrompts::Icon::Exclamation);
    } else {
        prompts.showMessage(box.text, box.caption, DialogPrompts::Icon::None);
    }
}

void DialogMakeUi::packageWritten(const std::filesystem::path&) {
    prompts.showMessage(texts::kOperationSuccess, texts::kSuccess, DialogPrompts::Icon::None);
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
