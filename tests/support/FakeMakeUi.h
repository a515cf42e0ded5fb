#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "package/MakeUi.h"

namespace sf::test {

// Plays the user of the Make command from a script: the save paths to give
// (nothing = Cancel) and the answers to Yes/No questions. Records every call.
class FakeMakeUi : public MakeUi {
  public:
    std::deque<std::optional<std::filesystem::path>> savePaths;
    std::deque<bool> answers;
    std::vector<std::string> log;

    void message(const std::string& text, const std::string& caption) override {
        log.push_back("message: " + text + " | " + caption);
    }
    void applicationMessage(const std::string& text) override {
        log.push_back("application: " + text);
    }
    std::optional<std::filesystem::path> askSavePath() override {
        log.push_back("save dialog");
        if (savePaths.empty()) return std::nullopt;
        auto path = savePaths.front();
        savePaths.pop_front();
        return path;
    }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        log.push_back("question: " + text + " | " + caption);
        bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
};

}  // namespace sf::test
