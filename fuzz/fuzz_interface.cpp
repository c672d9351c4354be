// libFuzzer target for the data-interface file reader: no input may crash
// it, hang it or read out of bounds, and every row it splits has the
// header's column count.
#include "exchange/interface_import.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gzgl::exchange;
    const ParsedInterface in = parseInterfaceFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (in.file.has_value() == !in.error.empty())
        std::abort();
    if (in.file) {
        if (in.file->codes.size() != in.file->titles.size() || in.file->separator.empty())
            std::abort();
        for (const InterfaceFile::Row& row : in.file->rows)
            if (!row.cells.empty() && row.cells.size() != in.file->codes.size())
                std::abort();
    }
    return 0;
}
