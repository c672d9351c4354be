// libFuzzer target: any bytes as a formula with values. The text evaluator
// and the compiled form must return and must agree with the reference
// algorithm (result text, FormulaHasValue, FormulaValue to the bit); a
// difference aborts.
//
// Input: byte 0 picks the decimals, then the formula up to a 0 byte, then
// one byte per code occurrence choosing its value (a byte with the high bit
// set takes the next eight bytes as the raw double).
#include "calc/compiled.h"
#include "calc/evaluator.h"
#include "calc/numformat.h"
#include "calc/reference_evaluator.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace gzgl::calc;

namespace {

const double kValues[] = {0,      -0.0,   1,     -1,      12.5,     -12.5,  1250.5, 0.1 + 0.2,
                          1e20,   -1e20,  1e-5,  -1e-5,   1e15,     999999999999999.0,
                          2.675,  -2.5,   1e308, -1e308,  1e-320,   std::numeric_limits<double>::infinity(),
                          std::nan(""),   800,   2000.01, 10.0 / 3, 0.0001, 123456789.123456789};

void same(bool ok, const char* what, const std::string& text) {
    if (ok)
        return;
    std::fprintf(stderr, "difference in %s for [%s]\n", what, text.c_str());
    std::abort();
}

void compare(const FormulaState& a, const FormulaState& b, const char* what, const std::string& text) {
    same(a.FormulaHasValue == b.FormulaHasValue, what, text);
    same(std::memcmp(&a.FormulaValue, &b.FormulaValue, sizeof(double)) == 0, what, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int decimals = data[0] % 8 == 7 ? data[0] % 19 : data[0] % 7;
    const std::string format = gzgl::precisionPattern(decimals);
    std::size_t i = 1;
    std::string formula;
    while (i < size && data[i] != 0)
        formula += static_cast<char>(data[i++]);
    ++i;

    const CompiledFormula compiled(formula);
    std::vector<double> values(compiled.codes().size(), 0.0);
    for (double& v : values) {
        if (i >= size)
            break;
        const std::uint8_t b = data[i++];
        if ((b & 0x80) && i + 8 <= size) {
            std::memcpy(&v, data + i, 8);
            i += 8;
        } else {
            v = kValues[b % (sizeof kValues / sizeof kValues[0])];
        }
    }

    FormulaState text, fast, ref;
    text.PrecisionFormat = fast.PrecisionFormat = ref.PrecisionFormat = format;
    text.FormulaValue = fast.FormulaValue = ref.FormulaValue = 7.25;
    const std::string substituted = SubstituteValues(formula, values.data());
    same(substituted == reference::substituteValues(formula, values.data()), "substitution", formula);
    // Twice in a row, so that a value carried over from the first call counts.
    for (int round = 0; round < 2; ++round) {
        const std::string r = reference::evaluateFormula(substituted, ref);
        same(EvaluateFormula(substituted, text) == r, "text result", substituted);
        compare(text, ref, "text state", substituted);
        same(compiled.evaluate(values.data(), fast) == r, "compiled result", formula);
        compare(fast, ref, "compiled state", formula);
        text.PrecisionFormat = fast.PrecisionFormat = ref.PrecisionFormat = "#0.00";
    }
    FormulaState rawText, rawRef;
    same(EvaluateFormula(formula, rawText) == reference::evaluateFormula(formula, rawRef), "raw result", formula);
    compare(rawText, rawRef, "raw state", formula);
    return 0;
}
