#include "app/qt/ToolTipControl.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace sf {
namespace {

// Shows tips after the dialog's delay instead of the style's own.
class ToolTipDelayStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return ToolTipControl::kDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QString toolTipStyleSheet() {
    return QStringLiteral("QToolTip { color: %1; background-color: %2; border: 1px solid %1; }")
        .arg(ToolTipControl::kText.name(), ToolTipControl::kBackground.name());
}

}  // namespace

void ToolTipControl::create() {
    if (!dynamic_cast<ToolTipDelayStyle*>(QApplication::style())) {
        QApplication::setStyle(new ToolTipDelayStyle);
    }
    const QString sheet = toolTipStyleSheet();
    if (!qApp->styleSheet().contains(sheet)) qApp->setStyleSheet(qApp->styleSheet() + sheet);
}

void ToolTipControl::addTool(QWidget* control, const QString& text) const {
    control->setToolTip(wrappedText(text));
}

QString ToolTipControl::wrappedText(const QString& text) {
    // A plain-text tip never wraps; a rich-text table of fixed width does.
    if (QFontMetrics(QToolTip::font()).horizontalAdvance(text) <= kMaxWidth) return text;
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
        .arg(kMaxWidth)
        .arg(text.toHtmlEscaped());
}

}  // namespace sf
