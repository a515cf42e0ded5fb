#include <QAccessible>
#include <QSet>

#include "DialogFixture.h"
#include "dialog/DialogTemplate.h"

namespace sf::test {
namespace {

// Walks the dialog's accessibility tree as a screen reader does: every edit,
// check box and button, one row each.
TEST_F(QtDialogTest, EveryControlHasANameOfItsOwnAndAPlainDescription) {
    open();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dialog.get());
    QSet<QString> names;
    QSet<QObject*> reached;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        const QAccessible::Role role = child->role();
        if (role != QAccessible::EditableText && role != QAccessible::CheckBox &&
            role != QAccessible::Button) {
            continue;
        }
        const QString name = child->text(QAccessible::Name);
        const QString description = child->text(QAccessible::Description);
        SCOPED_TRACE(QStringLiteral("%1 \"%2\": %3")
                         .arg(child->object()->property("controlId").toInt())
                         .arg(name, description)
                         .toStdString());
        EXPECT_FALSE(name.trimmed().isEmpty());
        EXPECT_FALSE(names.contains(name.toLower())) << "a second control has this name";
        EXPECT_FALSE(description.contains('<'));
        names.insert(name.toLower());
        reached.insert(child->object());
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
