// Timing of the bank file over the entry benchmarks' month (10,000
// employees, 60 items, 40 formula lines): "File" with eight fields, from
// loading the month through the recalculation and formatting to the file
// written and renamed; and the template file read.
#include "entry_fixture.h"
#include "exchange/bank.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;

namespace {

struct YesPrompt : Prompt {
    void message(const std::string&, const std::string&, Icon) override {}
    bool askYesNo(const std::string&, const std::string&, Icon) override { return true; }
};

struct BankMonth {
    bench::EntryMonth m;
    exchange::BankTemplate tpl;
    BankMonth() {
        Connection& db = m.t.s.taskConn;
        db.execute("Update " + m.t.table("Employee") +
                   " Set F_AccNo='62220200' || F_EmpNo || '1234567', F_CID='3201021970' || F_EmpNo || '123'");
        using namespace exchange;
        tpl.head = "工资转账";
        tpl.rows = {{"企业代码", kTypeText, "6", kAlignLeft, "企业代码", "", ""},
                    {"银行账号", kTypeText, "20", kAlignLeft, "银行账号", "", ""},
                    {"姓名", kTypeText, "10", kAlignLeft, "F002", "", ""},
                    {"身份证号", kTypeText, "18", kAlignLeft, "身份证号", "", ""},
                    {"应发工资", kTypeNumber, "12", kAlignRight, "F003", kPointShown, ""},
                    {"税", kTypeNumber, "10", kAlignRight, "F056", "", "8"},
                    {"项目4", kTypeNumber, "10", kAlignRight, "F004", kPointShown, ""},
                    {"实发工资", kTypeNumber, "12", kAlignRight, "F000", "", "10"}};
    }
};

BankMonth& month() {
    static std::unique_ptr<BankMonth> b = std::make_unique<BankMonth>();
    return *b;
}

void BM_BankFileWrite(benchmark::State& state) {
    BankMonth& b = month();
    SilentProgress progress;
    YesPrompt yes;
    exchange::BankOptions opt;
    opt.sequence = true;
    opt.total = true;
    for (auto _ : state) {
        const Outcome o = exchange::writeBankFile(b.m.t.s, b.tpl, opt, yes, progress);
        if (!o.ok)
            state.SkipWithError(o.message.c_str());
    }
}
BENCHMARK(BM_BankFileWrite)->Unit(benchmark::kMillisecond);

// The part of the above before any formatting: load and recalculation.
void BM_BankCollectData(benchmark::State& state) {
    BankMonth& b = month();
    SilentProgress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange::collectBankData(b.m.t.s, b.tpl, {}, progress).rows.size());
}
BENCHMARK(BM_BankCollectData)->Unit(benchmark::kMillisecond);

void BM_BankTemplateRead(benchmark::State& state) {
    BankMonth& b = month();
    const std::string bytes = exchange::bankTemplateBytes(b.tpl, nullptr).value();
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange::parseBankTemplate(bytes).tpl.rows.size());
}
BENCHMARK(BM_BankTemplateRead)->Unit(benchmark::kMicrosecond);

} // namespace
