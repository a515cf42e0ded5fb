#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

#include "app/qt/ProgramNameOnly.h"

namespace {

// The offscreen platform reports features it lacks on every window; those
// notes say nothing about the dialog.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("This plugin does not support"))) return;
    qt_message_output(type, context, text);
}

}  // namespace

int main(int argc, char* argv[]) {
    // The tests never need a real display, also when started by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatformNotes);
    // As the tool does: Qt sees no option, and GoogleTest sees them all.
    sf::ProgramNameOnly qtArguments(argv[0]);
    QApplication application(qtArguments.argc(), qtArguments.argv());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
