#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

#include "platform/Utf.h"

namespace sf {

// Path options take their text as UTF-8 (the arguments come from
// commandLineArguments). CLI11 on its own would make the path straight from
// the string, which Windows reads in its ANSI code page instead.
inline CLI::Option* addPathOption(CLI::App& command, const std::string& name,
                                  std::filesystem::path& path, const std::string& help) {
    return command
        .add_option_function<std::string>(
            name, [&path](const std::string& text) { path = pathFromUtf8(text); }, help)
        ->type_name("FILE");
}

}  // namespace sf
