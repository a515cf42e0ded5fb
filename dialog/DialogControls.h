#pragma once

#include <string>
#include <string_view>

#include "settings/ProjectSettings.h"

namespace sf {

// The main dialog's controls as its behaviour sees them, addressed by their
// identifiers. Each front end implements it with its own controls; the tests
// with a fake.
class DialogControls {
  public:
    virtual ~DialogControls() = default;

    // The control's whole current text.
    virtual std::u16string text(ControlId control) const = 0;

    // Replaces the control's text without raising its change event and
    // without cutting it to the typing limit.
    virtual void setText(ControlId control, std::u16string_view text) = 0;

    // The most characters the user can type into the edit; 0 for no limit.
    // A longer text already there stays whole and can only be shortened.
    virtual void setTypingLimit(ControlId edit, int limit) = 0;

    virtual bool isChecked(ControlId checkBox) const = 0;

    // Turns the check box on without raising its click event.
    virtual void check(ControlId checkBox) = 0;

    virtual void setFocus(ControlId control) = 0;
};

}  // namespace sf
