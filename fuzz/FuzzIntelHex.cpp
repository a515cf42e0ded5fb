// The Intel HEX reader on any bytes.
#include "ImageFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return sf::fuzzing::fuzzRecordFile(data, size, sf::RecordSyntax::IntelHex);
}
