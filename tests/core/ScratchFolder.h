#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace sf {

// An empty folder of the running test's own, removed again when the test ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("sf-" + std::string(info->name()) + "-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return folder / name;
    }

    static void put(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string contents(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path folder;
};

}  // namespace sf
