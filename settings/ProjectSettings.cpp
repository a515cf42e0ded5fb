#include "settings/ProjectSettings.h"

#include <algorithm>

namespace sf {

const TextField* findTextField(int control) {
    auto it = std::find_if(kTextFields.begin(), kTextFields.end(),
                           [control](const TextField& f) { return f.control == control; });
    return it == kTextFields.end() ? nullptr : &*it;
}

const FlagField* findFlagField(int control) {
    auto it = std::find_if(kFlagFields.begin(), kFlagFields.end(),
                           [control](const FlagField& f) { return f.control == control; });
    return it == kFlagFields.end() ? nullptr : &*it;
}

}  // namespace sf
