#include "platform/CommandLine.h"

namespace sf {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace sf
