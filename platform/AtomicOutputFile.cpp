#include "platform/AtomicOutputFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace sf {

Status AtomicOutputFile::copyFrom(InputFile& input, uint64_t length) {
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
