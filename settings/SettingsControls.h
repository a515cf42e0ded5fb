#pragma once

#include <string>
#include <string_view>

#include "settings/ProjectSettings.h"

namespace sf {

// The dialog's controls as the settings store sees them. The dialog implements
// it with its widgets, the tests with a fake; the store owns no widget.
class SettingsControls {
  public:
    virtual ~SettingsControls() = default;

    // The control's whole current text.
    virtual std::u16string text(ControlId control) const = 0;

    // Replaces the control's text without raising its change event: the store
    // runs the save that such an event makes itself, where the event occurs.
    virtual void setText(ControlId control, std::u16string_view text) = 0;

    virtual bool isChecked(ControlId checkBox) const = 0;

    // Turns the check box on without raising a click event.
    virtual void check(ControlId checkBox) = 0;

    // Asks whether every setting is to be reset to the default values; true for Yes.
    virtual bool confirmReset() = 0;
};

}  // namespace sf
