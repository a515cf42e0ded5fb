#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/TempDir.h"

namespace sf {

// A fresh folder for one test, with the file helpers the settings tests use:
// files are put and read back as byte strings.
class ScratchFolder : public test::TempDir {
  public:
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path() / name;
    }

    static void put(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string contents(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

}  // namespace sf
