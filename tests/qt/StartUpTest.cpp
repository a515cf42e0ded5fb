#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include "DialogFixture.h"
#include "app/qt/ProcessObjects.h"
#include "app/qt/ToolTipControl.h"
#include "dialog/DialogTemplate.h"

namespace sf::test {
namespace {

TEST_F(QtDialogTest, TheWindowHasItsCaptionIconAndFixedSizeAndTheProcessObjectsTheirValues) {
    open();
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_MAKE));
    EXPECT_TRUE(checkBox(IDC_VERIFY)->isChecked());
    EXPECT_EQ(dialog->windowTitle(), "Tavlen Sparrowflasher Maker III V" SF_VERSION);
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(templateFileName, u"AP2.EXE");
    EXPECT_EQ(settingsDirectory, settingsFile().parent_path() / "");
}

// Run a second time with Qt's own options on the command line (-reverse,
// -stylesheet, see CMakeLists.txt): they must change nothing.
TEST_F(QtDialogTest, QtOptionsOnTheCommandLineHaveNoEffect) {
    open();
    EXPECT_EQ(dialog->layoutDirection(), Qt::LeftToRight);
    EXPECT_LT(control(IDC_DEFAULT)->x(), control(IDC_MAKE)->x());
    EXPECT_NE(dialog->grab().toImage().pixelColor(2, 2), QColor(Qt::red));
}

TEST_F(QtDialogTest, ReadOnlyPathsAreDrawnGreyedLikeTheDialog) {
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

TEST_F(QtDialogTest, ALongerStoredTextStaysWholeAndCanOnlyBeShortened) {
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

TEST_F(QtDialogTest, ControlsFollowTheTemplatesTabOrderAndPlaces) {
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

TEST_F(QtDialogTest, ShiftTabMovesTheFocusBackOutOfAnIdentifierEdit) {
    open();
    focus(IDC_AP_PID);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_AP_VID));
}

TEST_F(QtDialogTest, ThirteenControlsShowTheirTips) {
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

TEST_F(QtDialogTest, TipsAreBlackOnPaleYellowAndWrapAt200Pixels) {
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
