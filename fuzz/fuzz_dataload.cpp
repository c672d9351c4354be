// libFuzzer target for the data-load file reader: no input may crash it,
// hang it or read out of bounds, and what it accepts must hang together.
#include "exchange/dataload.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gzgl::exchange;
    const ParsedDataLoad load = parseDataLoad(std::string_view(reinterpret_cast<const char*>(data), size));
    if (load.file.has_value() == !load.error.empty())
        std::abort();
    if (load.file)
        for (const DataLoadFile::Row& row : load.file->rows)
            if (!row.fields.empty() && row.fields.size() != load.file->items.size() + 4)
                std::abort();
    return 0;
}
