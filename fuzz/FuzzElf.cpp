// The ELF reader on any bytes, and the flat image it finds read through.
#include "ImageFuzzing.h"
#include "image/ElfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    auto source = sf::memorySource({data, data + size});
    auto pieces = sf::readElf(*source, "input", sf::fuzzing::kMaxSize);
    if (!pieces) return 0;
    sf::FirmwareImage image(sf::ImageFormat::Elf, std::move(*pieces), std::move(source));
    sf::fuzzing::readThrough(image);
    return 0;
}
