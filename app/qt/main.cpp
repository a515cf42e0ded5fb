#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/qt/ProcessObjects.h"
#include "app/qt/ProgramNameOnly.h"

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Without any display Qt would abort with a terse message; say what is wrong.
bool hasDisplay() {
#if defined(__linux__) || defined(__FreeBSD__)
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int /*argc*/, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs(
            "SparrowflasherMaker is a desktop program and needs a display: neither DISPLAY nor "
            "WAYLAND_DISPLAY is set.\nUse sfmaker to make packages from the command line.\n",
            stderr);
        return EXIT_FAILURE;
    }
    sf::ProgramNameOnly qtArguments(argv[0]);
    QApplication application(qtArguments.argc(), qtArguments.argv());
    // The name of the tool's desktop entry, by which a Wayland desktop matches
    // the window to its launcher (an X11 one by StartupWMClass in the entry).
    QGuiApplication::setDesktopFileName(QStringLiteral(SF_APP_ID));
    sf::theApp.InitInstance();
    return EXIT_SUCCESS;
}
