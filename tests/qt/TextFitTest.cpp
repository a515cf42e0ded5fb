#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <optional>

#include "DialogFixture.h"
#include "dialog/DialogTemplate.h"

namespace sf::test {
namespace {

// What a control's text needs and what the control gives it, in pixels.
struct TextRoom {
    QString caption;
    QSizeF needed;
    QSizeF available;
};

// The widest word of a text that wraps at its spaces.
qreal widestWord(const QFontMetricsF& metrics, const QString& text) {
    qreal widest = 0;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        widest = std::max(widest, metrics.horizontalAdvance(word));
    }
    return widest;
}

std::optional<TextRoom> labelRoom(const QLabel& label) {
    if (label.text().isEmpty()) return std::nullopt;  // the banner
    const QFontMetricsF metrics(label.font(), &label);
    const QRectF room = label.contentsRect();
    if (!label.wordWrap()) {
        return TextRoom{
            label.text(), {metrics.horizontalAdvance(label.text()), metrics.height()}, room.size()};
    }
    const QRectF wrapped = metrics.boundingRect(QRectF(0, 0, room.width(), 1e6),
                                                Qt::TextWordWrap | label.alignment(), label.text());
    return TextRoom{
        label.text(), {widestWord(metrics, label.text()), wrapped.height()}, room.size()};
}

// A check box needs its box and the gap before the text; a push button
// draws its text inside its frame.
TextRoom buttonRoom(const QAbstractButton& button) {
    const QFontMetricsF metrics(button.font(), &button);
    const QSizeF text(metrics.horizontalAdvance(button.text()), metrics.height());
    const QStyle& style = *button.style();
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (qobject_cast<const QCheckBox*>(&button)) {
        const int box = style.pixelMetric(QStyle::PM_IndicatorWidth, &option, &button);
        const int gap = style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, &button);
        const int boxHeight = style.pixelMetric(QStyle::PM_IndicatorHeight, &option, &button);
        return TextRoom{button.text(),
                        {box + gap + text.width(), std::max<qreal>(boxHeight, text.height())},
                        button.size()};
    }
    const QRect face = style.subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return TextRoom{button.text(), text, face.size()};
}

// The caption sits in the frame's top edge, between its two ends.
TextRoom groupBoxRoom(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.textAlignment = box.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QFontMetricsF metrics(box.font(), &box);
    const QRect label =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    return TextRoom{box.title(),
                    {label.x() + metrics.horizontalAdvance(box.title()), metrics.height()},
                    {static_cast<qreal>(box.width()), static_cast<qreal>(box.contentsRect().y())}};
}

std::optional<TextRoom> roomOf(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return labelRoom(*label);
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return buttonRoom(*button);
    if (auto* box = qobject_cast<const QGroupBox*>(&widget)) return groupBoxRoom(*box);
    return std::nullopt;
}

QString sizeText(QSizeF size) {
    return QStringLiteral("%1x%2").arg(std::ceil(size.width())).arg(std::ceil(size.height()));
}

// Run at the scale in QT_SCALE_FACTOR, which Qt reads once as it starts:
// CMakeLists.txt runs this test at 100 %, 150 % and 200 %.
TEST_F(QtDialogTest, EveryTextFitsItsControlAtTheScreensScale) {
    open();
    const int percent = qRound(dialog->devicePixelRatioF() * 100);
    int checked = 0;
    for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
        const std::optional<TextRoom> room = roomOf(*widget);
        if (!room) continue;
        ++checked;
        EXPECT_TRUE(room->needed.width() <= room->available.width() &&
                    room->needed.height() <= room->available.height())
            << '"' << room->caption.toStdString() << "\" at " << percent << " %: needs "
            << sizeText(room->needed).toStdString() << " px, has "
            << sizeText(room->available).toStdString();
    }
    // Every control of the table that shows a caption was reached.
    EXPECT_EQ(checked, std::ranges::count_if(kDialogTemplate, [](const ControlTemplate& entry) {
                  return !entry.caption.empty();
              }));
}

}  // namespace
}  // namespace sf::test
