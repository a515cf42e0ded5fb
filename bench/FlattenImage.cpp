// Converts a firmware file into its flat image, as a package would take it:
//   flatten_image INPUT OUTPUT
// Prints what was read on stderr. For timing the conversion beside objcopy.
#include <cstdio>
#include <fstream>
#include <vector>

#include "image/FirmwareImage.h"
#include "package/PackageLayout.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: flatten_image INPUT OUTPUT\n");
        return 2;
    }
    auto image = sf::FirmwareImage::open(argv[1], {sf::kMaxImageSize});
    if (!image) {
        std::fprintf(stderr, "%s\n", image.error().message.c_str());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    std::vector<uint8_t> block(1 << 20);
    for (uint64_t left = image->size(); left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<uint64_t>(block.size(), left));
        if (auto read = image->readExactly(block.data(), n); !read) {
            std::fprintf(stderr, "%s\n", read.error().message.c_str());
            return 1;
        }
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
        left -= n;
    }
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::fprintf(stderr, "%s\n", image->summary().c_str());
    return 0;
}
