// Formula evaluation: the text algorithm (substitution and a pass over text
// tokens) against the compiled form, per evaluation and for a whole
// recalculation grid of 10,000 employees and 40 formula lines.
#include "calc/compiled.h"
#include "calc/evaluator.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

using namespace gzgl::calc;

namespace {

const std::string kTaxBracket = "{[F003-800>500]&[F003-800<=2000],(F003-800)*0.10-25}";
const std::string kArithmetic = "F003+F004-F005*0.1";

// Rows of plausible cell values: amounts with two decimals.
std::vector<double> rows(std::size_t columns, std::size_t count) {
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<int> cents(0, 800000);
    std::vector<double> v(columns * count);
    for (double& x : v)
        x = cents(rng) / 100.0;
    return v;
}

void textPath(benchmark::State& state, const std::string& formula) {
    const std::size_t n = formulaCodes(formula).size();
    const std::vector<double> values = rows(n, 1024);
    FormulaState st;
    st.PrecisionFormat = "#0.00";
    std::size_t r = 0;
    for (auto _ : state) {
        const std::string text = SubstituteValues(formula, &values[(r++ & 1023) * n]);
        benchmark::DoNotOptimize(EvaluateFormula(text, st));
    }
}

void compiledPath(benchmark::State& state, const std::string& formula) {
    const CompiledFormula c(formula);
    const std::size_t n = c.codes().size();
    const std::vector<double> values = rows(n, 1024);
    FormulaState st;
    st.PrecisionFormat = "#0.00";
    std::size_t r = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.evaluate(&values[(r++ & 1023) * n], st));
    if (!c.compiled())
        state.SkipWithError("formula took the text path");
}

// 40 formula lines of the kinds a task holds: sums, rates, conditional
// allowances and a tax-bracket set.
std::vector<std::string> formulaLines() {
    std::vector<std::string> lines = {
        "F004+F005+F006+F007-F008",   "(F004+F005)*0.1",          "F009*0.08",
        "F009*0.02",                  "F009*0.005",               "F009*0.12",
        "{F010>22,(F010-22)*50,0}",   "{F011>0,F011*30}",         "F004*F012/21.75",
        "{F013=1,200,0}",             "F003-F014-F015-F016-F017", "{F018>=5,500,100}",
        "[F004+F005]*1.5",            "F019/30*F020",             "{[F021>0]&[F022>0],F021+F022,0}",
        "F023+F024*2-F025",           "{F026<>0,F026,F027}",      "(F028-F029)*0.3",
        "F030*1.2+F031",              "{F032>1000,1000,F032}",
    };
    const double brackets[][3] = {{0, 500, 0.05},       {500, 2000, 0.10},     {2000, 5000, 0.15},
                                  {5000, 20000, 0.20},  {20000, 40000, 0.25},  {40000, 60000, 0.30},
                                  {60000, 80000, 0.35}, {80000, 100000, 0.40}, {100000, 1e9, 0.45}};
    double quick = 0;
    for (const auto& b : brackets) {
        lines.push_back("{[F003-800>" + std::to_string(static_cast<long long>(b[0])) + "]&[F003-800<=" +
                        std::to_string(static_cast<long long>(b[1])) + "],(F003-800)*" + std::to_string(b[2]) +
                        "-" + std::to_string(quick) + "}");
        quick += (b[1] - b[0]) * b[2];
    }
    while (lines.size() < 40)
        lines.push_back("F033+F034-F035*0.1+F036");
    return lines;
}

void BM_FormulaGrid(benchmark::State& state) {
    constexpr std::size_t kEmployees = 10000;
    constexpr std::size_t kColumns = 40;
    std::vector<CompiledFormula> lines;
    for (const std::string& f : formulaLines())
        lines.emplace_back(f);
    // Each code reads column (number after "F") % kColumns of its row.
    std::vector<std::vector<std::size_t>> columns;
    for (const CompiledFormula& c : lines) {
        std::vector<std::size_t> cols;
        for (const std::string& code : c.codes())
            cols.push_back(std::stoul(code.substr(1), nullptr, 16) % kColumns);
        columns.push_back(cols);
    }
    const std::vector<double> grid = rows(kColumns, kEmployees);
    std::vector<double> values(64);
    FormulaState st;
    st.PrecisionFormat = "#0.00";
    for (auto _ : state) {
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const std::vector<std::size_t>& cols = columns[l];
            for (std::size_t e = 0; e < kEmployees; ++e) {
                const double* row = &grid[e * kColumns];
                for (std::size_t k = 0; k < cols.size(); ++k)
                    values[k] = row[cols[k]];
                benchmark::DoNotOptimize(lines[l].evaluate(values.data(), st));
            }
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kEmployees * lines.size()));
}

} // namespace

BENCHMARK_CAPTURE(textPath, TaxBracket, kTaxBracket);
BENCHMARK_CAPTURE(compiledPath, TaxBracket, kTaxBracket);
BENCHMARK_CAPTURE(textPath, Arithmetic, kArithmetic);
BENCHMARK_CAPTURE(compiledPath, Arithmetic, kArithmetic);
BENCHMARK(BM_FormulaGrid)->Unit(benchmark::kMillisecond);
