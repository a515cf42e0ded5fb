#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/IniProfile.h"
#include "settings/ProjectSettings.h"

namespace sf {

// How much of a stored text a read keeps. Texts are read as the Windows tool
// reads them, at most 259 characters; a path is read whole, since a full path
// can be longer than that.
std::size_t readBufferSize(const TextField& field);

// The value that a settings file holds for a text field, or nothing when it
// holds none or an empty one (the field then keeps its value).
std::optional<std::u16string> storedText(const IniFile& file, const TextField& field);

// True when the settings file turns the flag on: its value is exactly "1".
// No value turns a flag off.
bool storedFlagIsOn(const IniFile& file, const FlagField& flag);

// The record `base` with every field that the settings file holds taken from
// it, by the rules of a load: an empty or missing value keeps the field, and a
// flag is only ever turned on. A missing file leaves `base` as it is.
ProjectSettings readSettingsFile(const std::filesystem::path& file, ProjectSettings base);

}  // namespace sf
