#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace sf {

// The longest text typing may leave in an edit: the limit, or the current
// length when the program put a longer text there. Such a text stays whole
// and can be shortened, but never lengthened. A limit of 0 means none.
int typingRoom(int limit, qsizetype currentLength);

// A one-row edit with a typing limit. The limit is applied without ever
// replacing the text while the user types, so the caret, the selection and
// the undo history stay as they are.
class LimitedLineEdit : public QLineEdit {
  public:
    explicit LimitedLineEdit(QWidget* parent);

    void setTypingLimit(int limit);

    // Replaces the text without raising a change signal and without cutting it.
    void setTextQuietly(const QString& text);

  private:
    class LengthCheck;

    int limit = 0;
    // The length of the text before the change being checked.
    qsizetype acceptedLength = 0;
};

// A multi-row edit with a typing limit; Tab moves the focus, as in a dialog.
class LimitedPlainTextEdit : public QPlainTextEdit {
  public:
    explicit LimitedPlainTextEdit(QWidget* parent);

    void setTypingLimit(int newLimit) { limit = newLimit; }

    // Replaces the text without raising a change signal and without cutting it.
    void setTextQuietly(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // How many characters may replace the selection.
    qsizetype roomForInsertion() const;

    int limit = 0;
};

}  // namespace sf
