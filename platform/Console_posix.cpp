#include "platform/Console.h"

namespace sf {

void writeUtf8ToConsole() {}

}  // namespace sf
