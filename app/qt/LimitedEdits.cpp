#include "app/qt/LimitedEdits.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QSignalBlocker>
#include <QValidator>
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

// Refuses a change that leaves the text longer than the typing room it had
// before the change. QLineEdit checks every change of the user's, typed,
// pasted or dropped, and takes a refused one back without touching the rest
// of the edit's state.
class LimitedLineEdit::LengthCheck : public QValidator {
  public:
    explicit LengthCheck(LimitedLineEdit& edit) : QValidator(&edit), edit(edit) {}

    State validate(QString& input, int& /*position*/) const override {
        return input.size() <= typingRoom(edit.limit, edit.acceptedLength) ? Acceptable : Invalid;
    }

  private:
    const LimitedLineEdit& edit;
};

LimitedLineEdit::LimitedLineEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new LengthCheck(*this));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedLength = text.size(); });
}

void LimitedLineEdit::setTypingLimit(int newLimit) {
    limit = newLimit;
}

void LimitedLineEdit::setTextQuietly(const QString& newText) {
    const QSignalBlocker quiet(this);
    acceptedLength = newText.size();
    // Only here, where the text is replaced anyway: setMaxLength sets the
    // whole text again. It cuts a paste to the room left, as a Windows edit does.
    setMaxLength(typingRoom(limit, newText.size()));
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
