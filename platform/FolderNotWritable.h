#pragma once

#include <filesystem>
#include <string>

#include "platform/Utf.h"

namespace sf {

// The reason a new file could not be made in `folder` when the folder is not
// writable: the system's own reason and, in `because`, why a file had to be
// made there at all, so the user sees what to change.
inline std::string folderNotWritable(const std::filesystem::path& folder, const std::string& reason,
                                     const std::string& because) {
    std::string text = "the folder " + pathToUtf8(folder) + " is not writable (" + reason + ")";
    if (!because.empty()) text += "; " + because;
    return text;
}

// The folder a file is in, "." for a bare name.
inline std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Why a file must be made beside a file that is replaced.
inline constexpr const char* kReplacedBesideIt =
    "a file is replaced by writing a new one beside it, so its folder must be writable, not "
    "only the file";

}  // namespace sf
