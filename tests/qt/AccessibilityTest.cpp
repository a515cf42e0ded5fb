#include <QAccessible>
#include <QSet>

#include "DialogFixture.h"
#include "dialog/DialogTemplate.h"

namespace sf::test {
namespace {

// Every control a screen reader reaches in the dialog: edits, check boxes and
// buttons, as the accessibility tree hands them out.
std::vector<QAccessibleInterface*> readableControls(QWidget& dialog) {
    std::vector<QAccessibleInterface*> found;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    for (int i = 0; window && i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        const QAccessible::Role role = child ? child->role() : QAccessible::NoRole;
        if (role == QAccessible::EditableText || role == QAccessible::CheckBox ||
            role == QAccessible::Button) {
            found.push_back(child);
        }
    }
    return found;
}

TEST_F(QtDialogTest, EveryControlHasANameOfItsOwnAndAPlainDescription) {
    open();
    QSet<QString> names;
    QSet<QObject*> reached;
    for (QAccessibleInterface* control : readableControls(*dialog)) {
        const QString name = control->text(QAccessible::Name);
        SCOPED_TRACE(QStringLiteral("%1 \"%2\"")
                         .arg(control->object()->property("controlId").toInt())
                         .arg(name)
                         .toStdString());
        EXPECT_FALSE(name.trimmed().isEmpty());
        EXPECT_FALSE(names.contains(name.toLower())) << "a second control has this name";
        names.insert(name.toLower());
        EXPECT_FALSE(control->text(QAccessible::Description).contains('<'))
            << control->text(QAccessible::Description).toStdString();
        reached.insert(control->object());
    }
    // The walk reached every control with an identifier, and nothing else.
    QSet<QObject*> expected;
    for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id != kNoControlId) expected.insert(control(entry.id));
    }
    EXPECT_EQ(reached, expected);
}

}  // namespace
}  // namespace sf::test
