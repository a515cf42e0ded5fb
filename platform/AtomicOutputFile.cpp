#include "platform/AtomicOutputFile.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/TemporaryName.h"

namespace sf {

std::string makeTemporaryName() {
    std::random_device entropy;
    const uint64_t number = (uint64_t{entropy()} << 32) | entropy();
    constexpr char kDigits[] = "0123456789abcdef";
    std::string name = ".sf-";
    for (int shift = 60; shift >= 0; shift -= 4) name += kDigits[(number >> shift) & 0xF];
    return name + ".tmp";
}

Status AtomicOutputFile::copyThroughMemory(InputFile& input, uint64_t length) {
    constexpr uint64_t kBlockSize = 1 << 20;
    std::vector<char> buffer(static_cast<std::size_t>(std::min(length, kBlockSize)));
    while (length > 0) {
        const auto size = static_cast<std::size_t>(std::min(length, kBlockSize));
        if (auto read = input.readExactly(buffer.data(), size); !read) return read;
        if (auto written = write(buffer.data(), size); !written) return written;
        length -= size;
    }
    return success();
}

Status writeWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      AtomicOutputFile::Mode mode) {
    auto output = AtomicOutputFile::create(target, mode);
    if (!output) return failureOf(output);
    if (auto written = output->write(bytes.data(), bytes.size()); !written) return written;
    return output->commit();
}

}  // namespace sf
