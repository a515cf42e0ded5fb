#include "app/LimitedEdits.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QSignalBlocker>
#include <algorithm>

namespace sf {
namespace {

constexpr int kNoLimit = 0;
// QLineEdit's own largest length, its "no limit".
constexpr int kLineEditMaxLength = 32767;

}  // namespace

int typingRoom(int limit, qsizetype currentLength) {
    if (limit == kNoLimit) return kLineEditMaxLength;
    return static_cast<int>(std::max<qsizetype>(limit, currentLength));
}

LimitedLineEdit::LimitedLineEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { refitMaxLength(text.size()); });
}

void LimitedLineEdit::setTypingLimit(int newLimit) {
    limit = newLimit;
    refitMaxLength(text().size());
}

void LimitedLineEdit::refitMaxLength(qsizetype length) {
    setMaxLength(typingRoom(limit, length));
}

void LimitedLineEdit::setTextQuietly(const QString& newText) {
    const QSignalBlocker quiet(this);
    // Raised first, or setText would cut a longer text to the old length.
    refitMaxLength(newText.size());
    setText(newText);
}

LimitedPlainTextEdit::LimitedPlainTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
}

void LimitedPlainTextEdit::setTextQuietly(const QString& text) {
    const QSignalBlocker quiet(this);
    setPlainText(text);
}

qsizetype LimitedPlainTextEdit::roomForInsertion() const {
    const QString current = toPlainText();
    const qsizetype selected = textCursor().selectedText().size();
    return typingRoom(limit, current.size()) - (current.size() - selected);
}

void LimitedPlainTextEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && typed.at(0).isPrint();
    if (inserts && typed.size() > roomForInsertion()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedPlainTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) return;
    const qsizetype room = std::max<qsizetype>(0, roomForInsertion());
    insertPlainText(source->text().left(room));
}

}  // namespace sf
