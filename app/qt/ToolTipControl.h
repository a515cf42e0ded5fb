#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace sf {

// The tips of the dialog's controls: black on pale yellow, shown after half a
// second, wrapped onto further lines when wider than 200 pixels. The object
// exists for the whole process; the dialog creates it when it opens.
class ToolTipControl {
  public:
    static constexpr int kDelayMs = 500;
    static constexpr int kMaxWidth = 200;
    static inline const QColor kBackground{0xff, 0xff, 0xdd};
    static inline const QColor kText{0, 0, 0};

    // Sets the look and the delay of every tip of the application: on some
    // platforms a tip is not a child of its owner, so a style of the owner
    // alone would not reach it.
    void create();

    // Gives `control` its tip; a text wider than the maximum width wraps.
    void addTool(QWidget* control, const QString& text) const;

    // The tip as the control shows it.
    static QString wrappedText(const QString& text);
};

}  // namespace sf
