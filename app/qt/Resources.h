#pragma once

namespace sf {

// Registers the icon and the banner. The resources live in a static library,
// whose registration a linker would otherwise drop.
void registerResources();

}  // namespace sf
