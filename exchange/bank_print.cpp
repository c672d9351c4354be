// The bank file's control list (form 1119): the month's data as the file
// holds it, one column per template row, for checking before the file goes
// to the bank.
#include "exchange/bank.h"

#include "core/gbk.h"
#include "core/text.h"
#include "print/screen_jobs.h"

#include <algorithm>

namespace gzgl::exchange {

inline constexpr long kFormBankList = 1119;

ControlList bankControlList(Session& s, const BankTemplate& tpl, const BankData& data) {
    ControlList out;
    if (tpl.rows.empty()) {
        out.refusal = Outcome::refuse("请选择预览项目！", "提示", Icon::Exclamation);
        return out;
    }
    if (data.rows.empty()) {
        out.refusal = Outcome::refuse("没有数据可供预览！", "提示", Icon::Exclamation);
        return out;
    }
    print::PrintGrid grid;
    grid.fixedRows = 1;
    std::vector<std::string> heading;
    for (const BankField& f : tpl.rows) {
        heading.push_back(trim(f.name));
        const bool number = trim(f.type) == kTypeNumber;
        grid.colAlign.push_back(number ? 2 : 0);
        // Account and identity numbers are text: printed whole, never as
        // amounts with separators.
        grid.colText.push_back(!number);
    }
    grid.cells.push_back(heading);
    std::vector<std::size_t> widest(tpl.rows.size());
    for (std::size_t c = 0; c < heading.size(); ++c)
        widest[c] = gbkLength(heading[c]);
    for (const auto& row : data.rows) {
        std::vector<std::string> cells = row;
        cells.resize(tpl.rows.size());
        for (std::size_t c = 0; c < cells.size(); ++c)
            widest[c] = std::max(widest[c], gbkLength(cells[c]));
        grid.cells.push_back(std::move(cells));
    }
    // No stored widths: about 2 mm per byte of the widest text.
    for (const std::size_t bytes : widest)
        grid.colWidthMm.push_back(std::clamp(static_cast<double>(bytes) * 2.0 + 4.0, 12.0, 60.0));

    print::clsGridPrint job = print::newJob(s, grid, kFormBankList);
    print::addTitle(job, trim(tpl.head).empty() ? std::string("报送银行账目表") : tpl.head);
    print::addDepartmentAndPage(job, "");
    print::addDateAndMaker(job, s, 0);
    print::applySettings(job, 0, false);
    out.job = std::move(job);
    return out;
}

} // namespace gzgl::exchange
