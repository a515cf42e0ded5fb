#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sf {

// Byte layout of the payload that follows the template in every package:
// external image, internal image, external entry, internal entry, descriptor.
inline constexpr std::size_t kImageEntrySize = 16;
inline constexpr std::size_t kDescriptorSize = 656;
inline constexpr std::size_t kTrailerSize = 2 * kImageEntrySize + kDescriptorSize;  // 688

// Where each image says it belongs on the device.
inline constexpr uint32_t kInternalImageStart = 0;
inline constexpr uint32_t kExternalImageStart = 0x01000000;

// The four bytes that end every descriptor and the mask that hides the key.
inline constexpr std::array<uint8_t, 4> kMagic = {'K', 'S', 'Q', 'M'};
inline constexpr std::array<uint8_t, 4> kKeyMask = {'W', 'q', 'T', 'b'};

// A field of the descriptor: its offset and width in bytes.
struct DescriptorField {
    std::size_t offset;
    std::size_t width;
};

namespace descriptor {
inline constexpr DescriptorField apVid{0, 8};
inline constexpr DescriptorField apPid{8, 8};
inline constexpr DescriptorField apUsage{16, 4};
inline constexpr DescriptorField iapVid{20, 8};
inline constexpr DescriptorField iapPid{28, 8};
inline constexpr DescriptorField iapUsage{36, 4};
inline constexpr DescriptorField version{40, 128};
inline constexpr DescriptorField title{168, 128};
inline constexpr DescriptorField text{296, 128};
inline constexpr DescriptorField note{424, 128};
inline constexpr DescriptorField digestValue{552, 2};
inline constexpr DescriptorField cmdKey{554, 64};
inline constexpr DescriptorField cmdKeyLength{618, 2};
inline constexpr DescriptorField cmdKeyEnabled{620, 4};
inline constexpr DescriptorField digestEnabled{624, 4};
inline constexpr DescriptorField verify{628, 4};
inline constexpr DescriptorField cmdViaControlEndpoint{632, 4};
inline constexpr DescriptorField keySlot0{636, 4};
inline constexpr DescriptorField keySlot1{640, 4};
inline constexpr DescriptorField reserved{644, 4};
inline constexpr DescriptorField constantOne{648, 4};
inline constexpr DescriptorField magic{652, 4};
}  // namespace descriptor

// The largest image a 32-bit length can describe.
inline constexpr uint64_t kMaxImageSize = 0xFFFFFFFFull;

// The largest command key the descriptor holds.
inline constexpr std::size_t kMaxCmdKeySize = 64;

}  // namespace sf
