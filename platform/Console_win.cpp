#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/Console.h"

namespace sf {

void writeUtf8ToConsole() {
    // Fails harmlessly when the output is a file or a pipe: bytes pass through as written.
    SetConsoleOutputCP(CP_UTF8);
}

bool stderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

}  // namespace sf
