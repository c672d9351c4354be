#include "monthly/entry_input.h"

#include "core/text.h"

namespace gzgl::monthly {

namespace {

std::string fixedCaption(const std::string& code, const std::string& name) {
    if (code == "FFFF")
        return "上月扣零";
    if (code == "FFFE")
        return "本月补发";
    if (code == "FFFD")
        return "本月扣零";
    if (code == "F000")
        return "实发工资";
    return name;
}

} // namespace

std::vector<InputRow> inputRows(const SalaryEntry& e, int r) {
    std::vector<InputRow> rows;
    const calc::WorkGrid& g = e.grid();
    if (r < calc::kFirstEmployeeRow || r >= g.rows())
        return rows;
    for (int c = 2; c < g.cols(); ++c) {
        if (!e.columnVisible(c))
            continue;
        const std::string code = upperAscii(e.column(c).code);
        rows.push_back({c, code, fixedCaption(code, g.cell(1, c)), g.cell(r, c), e.inputEditable(r, c)});
    }
    return rows;
}

int previousEmployee(const SalaryEntry& e, int r) {
    return r > calc::kFirstEmployeeRow && r < e.grid().rows() ? r - 1 : r;
}

int nextEmployee(const SalaryEntry& e, int r) {
    return r >= calc::kFirstEmployeeRow && r + 1 < e.grid().rows() ? r + 1 : r;
}

} // namespace gzgl::monthly
