#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include "platform/CommandLine.h"
#include "platform/Utf.h"

namespace sf {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const std::wstring argument(wide[i]);
        arguments.push_back(utf16ToUtf8(std::u16string(argument.begin(), argument.end())));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace sf
