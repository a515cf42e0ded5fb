#include <gtest/gtest.h>

#include <set>

#include "settings/ProjectSettings.h"

namespace sf {
namespace {

TEST(ProjectSettings, NewRecordHoldsTheStartValues) {
    const ProjectSettings s;
    EXPECT_EQ(s.title, u"Tavlen Sparrowflasher V1.0.0");
    EXPECT_EQ(s.text, u"Sparrowflasher for Tavlen. Version V1.0.0");
    EXPECT_EQ(s.note, u"Type note here, maximum 100 characters.");
    int emptyTexts = 0;
    for (const auto& field : kTextFields) emptyTexts += (s.*field.member).empty() ? 1 : 0;
    EXPECT_EQ(emptyTexts, 11);
    EXPECT_TRUE(s.verify);
    EXPECT_FALSE(s.digestEnabled);
    EXPECT_FALSE(s.cmdKeyEnabled);
    EXPECT_FALSE(s.cmdViaControlEndpoint);
}

TEST(ProjectSettings, StartTextsFitTheirTypingLimits) {
    const ProjectSettings s;
    for (const auto& field : kTextFields) {
        if (field.typingLimit > 0) {
            EXPECT_LE((s.*field.member).size(), static_cast<size_t>(field.typingLimit))
                << std::string(field.key.begin(), field.key.end());
        }
    }
    EXPECT_EQ(s.title.size(), 28u);
    EXPECT_EQ(s.text.size(), 41u);
    EXPECT_EQ(s.note.size(), 39u);
}

TEST(ProjectSettings, TableNamesEachControlAndKeyOnce) {
    std::set<int> controls;
    std::set<std::u16string_view> keys;
    for (const auto& f : kTextFields) {
        controls.insert(f.control);
        keys.insert(f.key);
        EXPECT_EQ(findTextField(f.control), &f);
    }
    for (const auto& f : kFlagFields) {
        controls.insert(f.control);
        if (!f.key.empty()) keys.insert(f.key);
        EXPECT_EQ(findFlagField(f.control), &f);
    }
    EXPECT_EQ(controls.size(), 18u);
    EXPECT_EQ(keys.size(), 16u);
    EXPECT_EQ(findTextField(IDC_MAKE), nullptr);
    EXPECT_EQ(findFlagField(IDC_TITLE), nullptr);
}

}  // namespace
}  // namespace sf
