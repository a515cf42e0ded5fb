#include "platform/Console.h"

#include <unistd.h>

namespace sf {

void writeUtf8ToConsole() {}

bool stderrIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

}  // namespace sf
