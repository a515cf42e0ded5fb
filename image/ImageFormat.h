#pragma once

#include <string_view>

namespace sf {

// How an image file holds its data.
enum class ImageFormat { Raw, IntelHex, SRecord, Elf };

// The format's name as a user knows it.
constexpr std::string_view formatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::IntelHex:
            return "Intel HEX";
        case ImageFormat::SRecord:
            return "Motorola S-record";
        case ImageFormat::Elf:
            return "ELF";
        case ImageFormat::Raw:
            break;
    }
    return "raw binary";
}

}  // namespace sf
