#include <ctime>

#include "RunProgram.h"
#include "Win32Fixture.h"
#include "app/win32/Win32Prompts.h"
#include "package/MakeUi.h"
#include "platform/ExecutablePath.h"

namespace sf::test {
namespace {

using Answers = ModalAnswers;

class Win32FilesTest : public Win32DialogTest {
  protected:
    void SetUp() override {
        Win32DialogTest::SetUp();
        if (IsSkipped()) return;
        writeBytes(internalImage, patternBytes(70001, 1));
        writeBytes(externalImage, patternBytes(4099, 2));
        writeBytes(commandKey, patternBytes(16, 3));
        open();
    }

    const std::filesystem::path internalImage = folder / "internal.bin";
    const std::filesystem::path externalImage = folder / "external.bin";
    const std::filesystem::path commandKey = folder / "cmd.key";
    const std::filesystem::path output = folder / "Updater.exe";
};

std::vector<std::wstring> captionsOf(const ModalAnswers& answers) {
    std::vector<std::wstring> captions;
    for (const SeenWindow& window : answers.seen) captions.push_back(window.caption);
    return captions;
}

TEST_F(Win32FilesTest, ImagesAreChosenThroughTheSystemsChooserAndKeptInTheSettings) {
    const auto workingFolder = std::filesystem::current_path();
    // A file another program is writing cannot be opened as an image, however
    // freely that program shares it.
    const std::filesystem::path beingWritten = folder / "being-written.bin";
    const HANDLE writer = writeAndHoldOpen(beingWritten);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ModalAnswers answers(dialog->GetSafeHwnd());
    answers.then(Answers::choose((folder / "missing.bin").wstring()))
        .then(Answers::press(IDOK))
        .then(Answers::choose(beingWritten.wstring()))
        .then(Answers::press(IDOK))
        .then(Answers::choose(internalImage.wstring()))
        .then(Answers::choose(externalImage.wstring()))
        .then(Answers::cancel())
        .then(Answers::press(IDNO));

    click(IDC_INTERNAL_IMAGE);
    CloseHandle(writer);
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.wstring());
    EXPECT_EQ(stored(u"ImagePath1"), internalImage.wstring());
    EXPECT_NE(GetFocus(), dialog->GetDlgItem(IDC_INTERNAL_IMAGE));
    click(IDC_BROWSE_EXTERNAL);
    EXPECT_EQ(stored(u"ImagePath2"), externalImage.wstring());
    // Cancel on the external image forgets it.
    click(IDC_EXTERNAL_IMAGE);
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), L"");
    EXPECT_EQ(stored(u"ImagePath2"), L"");
    // Default asks first; No changes nothing.
    click(IDC_DEFAULT);
    EXPECT_EQ(stored(u"ImagePath1"), internalImage.wstring());

    const std::wstring refused = wideText(texts::kSelectImage);
    EXPECT_EQ(captionsOf(answers),
              (std::vector<std::wstring>{L"Open", refused, L"Open", refused, L"Open", L"Open",
                                         L"Open", wideText(texts::kConfirm)}));
    for (std::size_t box : {1u, 3u}) {
        EXPECT_EQ(answers.seen[box].text, wideText(texts::kFileDoesNotExist)) << box;
        EXPECT_FALSE(answers.seen[box].icon) << box;
    }
    EXPECT_EQ(answers.seen[7].text, wideText(texts::kResetQuestion));
    // A chooser shown again opens where the refused file is, with its name typed in.
    EXPECT_EQ(answers.seen[0].name, L"");
    EXPECT_EQ(answers.seen[2].name, L"missing.bin");
    EXPECT_EQ(std::filesystem::path(answers.seen[2].folder), folder.path());
    EXPECT_EQ(answers.seen[4].name, L"being-written.bin");
    EXPECT_EQ(answers.filters, std::vector<std::wstring>(5, L"All File (*.*)"));
    EXPECT_EQ(answers.unexpected, 0);
    EXPECT_EQ(std::filesystem::current_path(), workingFolder);
}

// The package the dialog makes holds what the dialog shows, and is byte for
// byte the one sfmaker.exe makes from the same settings in the same second.
TEST_F(Win32FilesTest, APackageMadeThroughTheDialogIsTheCommandLinesPackage) {
    ModalAnswers answers(dialog->GetSafeHwnd());
    answers.then(Answers::choose(internalImage.wstring()))
        .then(Answers::choose(externalImage.wstring()))
        .then(Answers::press(IDOK))
        .then(Answers::choose(commandKey.wstring()));
    click(IDC_BROWSE_INTERNAL);
    click(IDC_BROWSE_EXTERNAL);
    // The command key on without a file: an application message.
    click(IDC_CMDKEY_EN);
    click(IDC_MAKE);
    click(IDC_BROWSE_CMDKEY);
    focus(IDC_VERSION);
    type(L"9.8.7");
    focus(IDC_AP_VID);
    type(L"1A2B");
    focus(IDC_IAP_USAGE);
    type(L"02");
    focus(IDC_DIGEST);
    type(L"BEEF");
    click(IDC_DIGEST_EN);
    click(IDC_CMD_VIA_CTRL_EP);

    answers.then(Answers::choose(output.wstring())).then(Answers::press(IDOK));
    const std::time_t before = std::time(nullptr);
    focus(IDC_NOTE);
    press(VK_RETURN);
    const std::time_t after = std::time(nullptr);

    ASSERT_EQ(answers.seen.size(), 6u);
    EXPECT_EQ(answers.seen[2].caption, executablePath().stem().wstring());
    EXPECT_EQ(answers.seen[2].text, wideText(texts::kSelectCommandKeyFile));
    EXPECT_TRUE(answers.seen[2].icon);
    EXPECT_EQ(answers.seen[4].caption, L"Save As");
    EXPECT_EQ(answers.filters.back(), L"EXE *.exe");
    EXPECT_EQ(answers.seen[5].caption, wideText(texts::kSuccess));
    EXPECT_EQ(answers.seen[5].text, wideText(texts::kOperationSuccess));
    EXPECT_EQ(answers.unexpected, 0);

    const std::wstring sfmaker = quoted((executableDirectory() / "sfmaker.exe").wstring());
    const ProgramRun report = runProgram(sfmaker + L" inspect --json " + quoted(output.wstring()));
    ASSERT_EQ(report.exitCode, 0u) << report.output;
    for (const char* expected :
         {"\"title\": \"Tavlen Sparrowflasher V1.0.0\"", "\"version\": \"9.8.7\"",
          "\"apVid\": \"1A2B\"", "\"iapUsage\": \"02\"", "\"digestValue\": 48879",
          "\"cmdKeyLength\": 16", "\"length\": 70001", "\"length\": 4099",
          "\"cmdViaControlEndpoint\": true", "\"verify\": true"}) {
        EXPECT_NE(report.output.find(expected), std::string::npos) << expected;
    }

    bool sameBytes = false;
    for (std::time_t second = before; second <= after && !sameBytes; ++second) {
        const auto made = folder / "made-by-sfmaker.exe";
        const ProgramRun make =
            runProgram(sfmaker + L" make --force --cmd-via-control-endpoint --settings " +
                       quoted(settingsFile().wstring()) + L" --output " + quoted(made.wstring()) +
                       L" --time " + std::to_wstring(second));
        ASSERT_EQ(make.exitCode, 0u) << make.output;
        sameBytes = readBytes(made) == readBytes(output);
    }
    EXPECT_TRUE(sameBytes);
}

// Cancel beside the progress bar stops a large write: nothing is made, and
// neither success nor a failure is told.
TEST_F(Win32FilesTest, CancelWhileALargePackageIsWrittenLeavesNothing) {
    std::filesystem::resize_file(internalImage, 2 * kProgressWorthShowing);  // sparse
    ModalAnswers answers(dialog->GetSafeHwnd());
    answers.then(Answers::choose(internalImage.wstring())).then(Answers::choose(output.wstring()));
    click(IDC_BROWSE_INTERNAL);
    static HWND pressedIn;
    pressedIn = dialog->GetSafeHwnd();
    const UINT_PTR presser = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND cancel = GetDlgItem(pressedIn, Win32Prompts::kCancelWriteId);
        if (cancel) PostMessageW(cancel, BM_CLICK, 0, 0);
    });
    click(IDC_MAKE);
    KillTimer(nullptr, presser);
    EXPECT_EQ(captionsOf(answers), (std::vector<std::wstring>{L"Open", L"Save As"}));
    EXPECT_EQ(answers.unexpected, 0);
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(GetDlgItem(pressedIn, Win32Prompts::kCancelWriteId), nullptr);
}

}  // namespace
}  // namespace sf::test
