// gzgl-cli eval: the formula evaluator on formulas given as arguments or
// read from standard input, one per line.
#include "app/cli/commands.h"

#include "calc/evaluator.h"
#include "calc/numformat.h"
#include "core/text.h"

#include <iostream>
#include <string>

namespace gzgl::cli {

namespace {

constexpr int kMaxDecimals = 15;

int decimalsOption(const Args& a) {
    const std::string p = a.get("prec", "2");
    if (p.empty() || p.size() > 2 || !allDigits(p) || std::stoi(p) > kMaxDecimals)
        throw UsageError("--prec 应为 0 到 15 的整数");
    return std::stoi(p);
}

// One line per formula: result text, TAB, FormulaHasValue as 1 or 0, TAB,
// and FormulaValue with the decimals when it has a value.
void evalLine(const std::string& formula, calc::FormulaState& st, const std::string& valueFormat) {
    const std::string r = calc::EvaluateFormula(formula, st);
    std::cout << r << '\t' << (st.FormulaHasValue ? 1 : 0) << '\t';
    if (st.FormulaHasValue)
        std::cout << formatNumber(st.FormulaValue, valueFormat);
    std::cout << '\n';
}

} // namespace

int cmdEval(Context& c) {
    c.args.allowOnly({"prec", "yes"});
    const int decimals = decimalsOption(c.args);
    calc::FormulaState st;
    st.PrecisionFormat = precisionPattern(decimals);
    const std::string valueFormat = st.PrecisionFormat;
    const auto& words = c.args.words();
    const std::size_t first = 1;
    if (first < words.size()) {
        for (std::size_t i = first; i < words.size(); ++i)
            evalLine(words[i], st, valueFormat);
        return 0;
    }
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        evalLine(line, st, valueFormat);
    }
    return 0;
}

} // namespace gzgl::cli
