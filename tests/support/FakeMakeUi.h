#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "package/MakeUi.h"

namespace sf::test {

// Plays the user of the Make command from a script: the save paths to give
// (nothing = Cancel) and the answers to the overwrite question. Records every
// event in `log`, and each failure whole in `failures`.
class FakeMakeUi : public MakeUi {
  public:
    std::deque<std::optional<std::filesystem::path>> savePaths;
    std::deque<bool> answers;
    std::vector<std::string> log;
    std::vector<MakeFailure> failures;

    std::optional<std::filesystem::path> askSavePath() override {
        log.push_back("save dialog");
        if (savePaths.empty()) return std::nullopt;
        auto path = savePaths.front();
        savePaths.pop_front();
        return path;
    }
    bool confirmOverwrite(const std::filesystem::path&) override {
        log.push_back("overwrite question");
        bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
    void failed(const MakeFailure& failure) override {
        log.push_back("failed");
        failures.push_back(failure);
    }
    void packageWritten(const std::filesystem::path&) override { log.push_back("package written"); }
};

}  // namespace sf::test
