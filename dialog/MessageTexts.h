#pragma once

#include <string_view>

namespace sf::texts {

// The program's message boxes, word for word as its users have always seen
// them. They are kept exactly so, misspellings included ("exists", "maxiumn",
// "Contirm"), on purpose: users, their manuals and their scripts know them by
// these words. Every message box of the dialog takes its words from here.

// Choosing an image.
inline constexpr std::u16string_view kFileDoesNotExist = u"File does not exists!";
inline constexpr std::u16string_view kSelectImage = u"Select Image";

// Make.
inline constexpr std::u16string_view kSpecifyImagePath = u"Please specify image path!";
inline constexpr std::u16string_view kOpenFile = u"Open File";
inline constexpr std::u16string_view kCannotOpenTemplate = u"Can not open AP.EXE file!";
inline constexpr std::u16string_view kCannotOpenImage = u"Can not open Image file!";
inline constexpr std::u16string_view kSelectCommandKeyFile = u"Please select Command-key file!";
inline constexpr std::u16string_view kCannotOpenCommandKey = u"Can not open Command Key file!";
inline constexpr std::u16string_view kOpenCommandKey = u"Open Command Key";
inline constexpr std::u16string_view kCommandKeyTooLong = u"Command-key maxiumn is 64 bytes!";
inline constexpr std::u16string_view kOverwriteQuestion = u"File already exists!\nOverwrite?";
inline constexpr std::u16string_view kSaveFile = u"Save File";
// Follows the chosen path directly, without a separator.
inline constexpr std::u16string_view kCannotOpenForWriting = u"File cannot be opened for writing!";
inline constexpr std::u16string_view kOperationSuccess = u"Operation Success!";
inline constexpr std::u16string_view kSuccess = u"Success";

// Default.
inline constexpr std::u16string_view kResetQuestion =
    u"Reset all setting to default value?\nAre you sure?";
inline constexpr std::u16string_view kConfirm = u"Contirm";

// Dropping files on the dialog, which came later: in our own words.
inline constexpr std::u16string_view kDropOneFile =
    u"Please drop one file: a folder, or several files at once, cannot be used.";
inline constexpr std::u16string_view kDropFile = u"Drop File";

}  // namespace sf::texts
