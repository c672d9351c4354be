// libFuzzer target: any bytes as a bank template file. The reader must
// return (never crash or read out of bounds) for whatever is on disk; what
// it restores must write back and read again to the same template with no
// problems (the rows it could read are complete rows).
#include "exchange/bank.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace gzgl::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TemplateLoad first = parseBankTemplate(bytes);
    // A head or tail read from the file may hold a lone CR and rows may hold
    // widths the checks clamp; the checked template must round-trip.
    if (!checkBankTemplate(first.tpl).ok)
        return 0;
    std::string refusal;
    const auto again = bankTemplateBytes(first.tpl, &refusal);
    if (!again)
        return 0;
    const TemplateLoad second = parseBankTemplate(*again);
    if (!second.problems.empty() || second.tpl.rows.size() != first.tpl.rows.size() ||
        second.tpl.departments != first.tpl.departments) {
        std::fprintf(stderr, "template did not round-trip: %s\n",
                     second.problems.empty() ? "rows differ" : second.problems[0].c_str());
        std::abort();
    }
    return 0;
}
