#include "platform/AtomicOutputFile.h"

namespace sf {

Status writeWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      AtomicOutputFile::Mode mode) {
    auto output = AtomicOutputFile::create(target, mode);
    if (!output) return Error{output.error()};
    if (auto written = output->write(bytes.data(), bytes.size()); !written) return written;
    return output->commit();
}

}  // namespace sf
