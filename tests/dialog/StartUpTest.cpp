#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>
#include <fstream>

#include "DialogFixture.h"
#include "app/DialogTemplate.h"
#include "app/ProcessObjects.h"
#include "app/ToolTipControl.h"

namespace sf::test {
namespace {

TEST_F(DialogTest, StartsWithFocusOnMakeVerifyOnAndTheStartValues) {
    open();
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_MAKE));
    EXPECT_TRUE(checkBox(IDC_VERIFY)->isChecked());
    EXPECT_FALSE(checkBox(IDC_CMD_VIA_CTRL_EP)->isChecked());
    EXPECT_FALSE(checkBox(IDC_DIGEST_EN)->isChecked());
    EXPECT_FALSE(checkBox(IDC_CMDKEY_EN)->isChecked());
    EXPECT_EQ(shown(IDC_TITLE), "Tavlen Sparrowflasher V1.0.0");
    EXPECT_EQ(shown(IDC_TEXT), "Sparrowflasher for Tavlen. Version V1.0.0");
    EXPECT_EQ(shown(IDC_NOTE), "Type note here, maximum 100 characters.");
    EXPECT_EQ(shown(IDC_VERSION), "");
    EXPECT_EQ(dialog->windowTitle(), "Tavlen Sparrowflasher Maker III V1.5.2");
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(templateFileName, u"AP2.EXE");
    EXPECT_EQ(settingsDirectory, settingsFile().parent_path() / "");
}

// Run a second time with Qt's own options on the command line (-reverse,
// -stylesheet, see CMakeLists.txt): they must change nothing.
TEST_F(DialogTest, QtOptionsOnTheCommandLineHaveNoEffect) {
    open();
    EXPECT_EQ(dialog->layoutDirection(), Qt::LeftToRight);
    EXPECT_LT(control(IDC_DEFAULT)->x(), control(IDC_MAKE)->x());
    EXPECT_NE(dialog->grab().toImage().pixelColor(2, 2), QColor(Qt::red));
}

TEST_F(DialogTest, ReadOnlyPathsAreDrawnGreyedLikeTheDialog) {
    open();
    const auto background = [this](int id) {
        const QImage picture = control(id)->grab().toImage();
        return picture.pixelColor(picture.width() - 4, picture.height() - 4);
    };
    const QColor face = dialog->palette().color(QPalette::Window);
    for (int id : {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH}) {
        EXPECT_EQ(background(id), face) << id;
    }
    for (int id : {IDC_TITLE, IDC_NOTE, IDC_DIGEST}) EXPECT_NE(background(id), face) << id;
}

TEST_F(DialogTest, SeedsTheSettingsFromTheWorkingFoldersDefaults) {
    std::ofstream(folder / "work" / "default.ini")
        << "[SETTING]\nTitleString=Seeded title\nIDigestEn=1\n";
    open();
    EXPECT_EQ(shown(IDC_TITLE), "Seeded title");
    EXPECT_TRUE(checkBox(IDC_DIGEST_EN)->isChecked());
}

TEST_F(DialogTest, LoadsStoredValuesAndFlagsOnlyWhereTheyHoldOne) {
    storeSetting(u"TitleString", u"");
    storeSetting(u"APVIDString", u"1a2b");
    storeSetting(u"IDigestEn", u"01");
    storeSetting(u"CMDKEYEn", u"1");
    open();
    EXPECT_EQ(shown(IDC_TITLE), "Tavlen Sparrowflasher V1.0.0");
    EXPECT_EQ(shown(IDC_AP_VID), "1a2b");
    EXPECT_FALSE(checkBox(IDC_DIGEST_EN)->isChecked());
    EXPECT_TRUE(checkBox(IDC_CMDKEY_EN)->isChecked());
    // The empty title stays empty in the file; no missing key is added.
    EXPECT_EQ(stored(u"TitleString"), "");
    EXPECT_EQ(stored(u"VersionString"), "<missing>");
}

TEST_F(DialogTest, LoadingWritesBackOnlyTheOneRowEditsThatSaveOnChange) {
    storeSetting(u"VersionString", std::u16string(300, u'v'));
    storeSetting(u"TitleString", std::u16string(300, u't'));
    open();
    // Both are read cut to 259 characters; only the version is saved again.
    EXPECT_EQ(dialog->text(IDC_VERSION), std::u16string(259, u'v'));
    EXPECT_EQ(dialog->text(IDC_TITLE), std::u16string(259, u't'));
    EXPECT_EQ(stored(u"VersionString"), std::string(259, 'v'));
    EXPECT_EQ(stored(u"TitleString"), std::string(300, 't'));
}

TEST_F(DialogTest, ALongerStoredTextStaysWholeAndCanOnlyBeShortened) {
    const std::u16string longVersion(40, u'v');
    const std::u16string longNote(120, u'n');
    storeSetting(u"VersionString", longVersion);
    storeSetting(u"NoteString", longNote);
    open();
    EXPECT_EQ(dialog->text(IDC_VERSION), longVersion);
    EXPECT_EQ(dialog->text(IDC_NOTE), longNote);

    focus(IDC_VERSION);
    press(Qt::Key_End);
    type("x");
    EXPECT_EQ(dialog->text(IDC_VERSION), longVersion);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    type("xyz");
    // Still over the limit: nothing can be added, and the shortened text is saved.
    EXPECT_EQ(dialog->text(IDC_VERSION), std::u16string(38, u'v'));
    EXPECT_EQ(stored(u"VersionString"), std::string(38, 'v'));

    focus(IDC_NOTE);
    type("x");
    EXPECT_EQ(dialog->text(IDC_NOTE), longNote);
}

TEST_F(DialogTest, ControlsFollowTheTemplatesTabOrderAndPlaces) {
    open();
    // Tab from the title visits every tab stop in the template's order.
    focus(IDC_TITLE);
    std::vector<int> visited;
    for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id == kNoControlId) continue;
        visited.push_back(QApplication::focusWidget()->property("controlId").toInt());
        press(Qt::Key_Tab);
    }
    std::vector<int> expected;
    for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id != kNoControlId) expected.push_back(entry.id);
    }
    EXPECT_EQ(visited, expected);

    // Relative places: Default left of Make, the AP row above the IAP row.
    EXPECT_LT(control(IDC_DEFAULT)->x(), control(IDC_MAKE)->x());
    EXPECT_LT(control(IDC_AP_VID)->y(), control(IDC_IAP_VID)->y());
    EXPECT_EQ(control(IDC_AP_VID)->x(), control(IDC_TITLE)->x());

    // The group box lies behind the check boxes it frames.
    auto* frame = dialog->findChild<QGroupBox*>();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->geometry().contains(control(IDC_DIGEST_EN)->geometry()));
    EXPECT_EQ(dialog->childAt(control(IDC_DIGEST_EN)->geometry().center()), control(IDC_DIGEST_EN));
}

TEST_F(DialogTest, ShiftTabMovesTheFocusBackOutOfAnIdentifierEdit) {
    open();
    focus(IDC_AP_PID);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_AP_VID));
}

TEST_F(DialogTest, ThirteenControlsShowTheirTips) {
    open();
    for (const ToolTipTemplate& tip : kToolTips) {
        QTextDocument document;
        document.setHtml(control(tip.control)->toolTip());
        EXPECT_EQ(document.toPlainText().trimmed(), toQString(tip.text)) << tip.control;
    }
    for (int id : {IDC_MAKE, IDC_CLEAR_EXTERNAL, IDC_BROWSE_CMDKEY, IDC_DIGEST, IDC_INTERNAL_IMAGE,
                   IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH, IDC_VERIFY, IDC_CMD_VIA_CTRL_EP,
                   IDC_DIGEST_EN, IDC_CMDKEY_EN}) {
        EXPECT_TRUE(control(id)->toolTip().isEmpty()) << id;
    }
    // A short tip stays plain text.
    EXPECT_EQ(control(IDC_IAP_PID)->toolTip(), "PID of IAP loader.");
    // A tip wider than 200 pixels wraps.
    EXPECT_TRUE(control(IDC_AP_USAGE)->toolTip().contains("width=\"200\""));
    EXPECT_EQ(dialog->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
}

QLabel* shownTip() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "qtooltip_label" && widget->isVisible()) {
            return qobject_cast<QLabel*>(widget);
        }
    }
    return nullptr;
}

TEST_F(DialogTest, TipsAreBlackOnPaleYellowAndWrapAt200Pixels) {
    open();
    QWidget* title = control(IDC_TITLE);
    QToolTip::showText(title->mapToGlobal(QPoint(5, 5)), title->toolTip(), title);
    QLabel* tip = shownTip();
    ASSERT_NE(tip, nullptr);
    const QImage picture = tip->grab().toImage();
    EXPECT_EQ(picture.pixelColor(3, picture.height() / 2), QColor(0xff, 0xff, 0xdd));
    EXPECT_EQ(tip->palette().color(QPalette::WindowText), QColor(Qt::black));
    QToolTip::hideText();

    QWidget* usage = control(IDC_AP_USAGE);
    QToolTip::showText(usage->mapToGlobal(QPoint(5, 5)), usage->toolTip(), usage);
    tip = shownTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_LE(tip->width(), 200 + 2 * 8);
    EXPECT_GT(tip->height(), 2 * tip->fontMetrics().height());
    QToolTip::hideText();
}

}  // namespace
}  // namespace sf::test
