#include "calc/trace.h"

#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/text.h"

#include <algorithm>

namespace gzgl::calc {

WorkGrid rowCopy(const WorkGrid& grid, int r) {
    std::vector<std::string> codes, captions;
    for (int c = 0; c < grid.cols(); ++c) {
        codes.push_back(grid.cell(0, c));
        captions.push_back(grid.cell(1, c));
    }
    WorkGrid copy(codes, captions);
    const int row = copy.addRow();
    for (int c = 0; c < grid.cols(); ++c)
        copy.cell(row, c) = grid.cell(r, c);
    return copy;
}

EmployeeTrace traceRow(const std::vector<FormulaLine>& lines, WorkGrid row, const RecalcSettings& settings,
                       Exceptions* exceptions) {
    EmployeeTrace t;
    t.row = std::move(row);
    if (t.row.rows() <= kFirstEmployeeRow)
        return t;
    t.empNo = trim(t.row.cell(kFirstEmployeeRow, 0));
    t.name = t.row.cols() > 1 ? trim(t.row.cell(kFirstEmployeeRow, 1)) : std::string();
    RecalculateLines(lines, t.row, kFirstEmployeeRow, settings, exceptions, nullptr, &t.steps);
    return t;
}

namespace {

std::string named(const std::map<std::string, std::string>& names, const std::string& code) {
    const auto it = names.find(code);
    return it == names.end() ? code : it->second + "(" + code + ")";
}

std::string shownCell(const std::string& text) { return text.empty() ? "空" : text; }

} // namespace

std::string traceText(const EmployeeTrace& t, const std::map<std::string, std::string>& names,
                      const std::string& heading) {
    using Result = TraceStep::Result;
    std::string out = heading + "\n";
    if (t.steps.empty())
        out += "本任务没有计算公式。\n";
    for (const TraceStep& s : t.steps) {
        out += "\n第" + std::to_string(s.line) + "行  " + named(names, s.code) + " = " + s.formula + "\n";
        std::vector<std::string> seen;
        std::string inputs;
        for (const auto& [code, value] : s.inputs) {
            if (std::find(seen.begin(), seen.end(), code) != seen.end())
                continue;
            seen.push_back(code);
            inputs += (inputs.empty() ? "" : "，") + named(names, code) + "=" + decimalText(value);
        }
        if (!inputs.empty())
            out += "    代入：" + inputs + "\n";
        if (s.netPay)
            out += "    扣零：计算结果 " + decimalText(s.value) + "，上月扣零 " + decimalText(s.carried) + "，本月扣零 " +
                   s.heldBack + "，本月补发 " + s.paidOut + "，实发 " + decimalText(s.net) + "\n";
        switch (s.result) {
        case Result::Assigned:
            out += "    结果：" + s.after + "，已赋值\n";
            break;
        case Result::NoValue:
            out += "    结果：公式没有得出数值（条件不成立），未赋值，仍为 " + shownCell(s.after) + "\n";
            break;
        case Result::Stored:
            out += "    结果：公式得出 " + decimalText(s.value) + "，但本人保存的数值 " + s.after + " 代替了公式\n";
            break;
        case Result::Listed:
            out += "    结果：本项目在本人的不计算项目中，记为 " + s.after + "\n";
            break;
        }
    }
    if (t.row.rows() > kFirstEmployeeRow) {
        out += "\n计算结果：\n";
        for (int c = kFirstItemColumn; c < t.row.cols(); ++c)
            out += "    " + named(names, t.row.cell(0, c)) + " = " + shownCell(t.row.cell(kFirstEmployeeRow, c)) + "\n";
    }
    return out;
}

} // namespace gzgl::calc
