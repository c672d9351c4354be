// Timing of the voucher transfer on the single-user form over a month of
// 10,000 employees, 60 items and 40 formula lines: twenty rules over every
// department are checked (departments, items, the accounts in the set's
// chart), the month is loaded and recalculated, the lines summed and the
// vouchers written into the demo set in one transaction.
#include "accounting/demo.h"
#include "accounting/link.h"
#include "accounting/transfer.h"
#include "entry_fixture.h"
#include "monthly/refresh.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace gzgl;
using namespace gzgl::accounting;

namespace {

// Always answers Yes: every transfer after the first is a second one.
struct YesPrompt : Prompt {
    void message(const std::string&, const std::string&, Icon) override {}
    bool askYesNo(const std::string&, const std::string&, Icon) override { return true; }
};

// The entry month with its twenty departments as four top-level
// departments of five lowest-level ones each, employees given transfer
// attributes 0 to 2, linked to the demo set ID0001.
struct VoucherMonth {
    bench::EntryMonth m;
    std::unique_ptr<AccountingStore> store;
    std::vector<TransferRule> rules;

    VoucherMonth() {
        Session& s = m.t.s;
        Connection& db = s.taskConn;
        {
            Transaction tx(db);
            for (int top = 1; top <= 4; ++top) {
                const std::string parent = "0" + std::to_string(top);
                db.execute("Insert Into " + m.t.table("Depart") +
                               "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',1,0)",
                           {parent, "部门" + parent});
                for (int sub = 1; sub <= 5; ++sub) {
                    const std::string code = parent + "0" + std::to_string(sub);
                    db.execute("Insert Into " + m.t.table("Depart") +
                                   "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',2,1)",
                               {code, "科室" + code});
                    // The fixture's departments "01" to "020" in turn.
                    db.execute("Update " + m.t.table("Employee") + " Set F_DepNo=? Where F_DepNo=?",
                               {code, "0" + std::to_string((top - 1) * 5 + sub)});
                }
            }
            db.execute("Update " + m.t.table("Employee") + " Set F_Character=cast(F_SortNo % 3 as text)");
            tx.commit();
        }
        monthly::RefreshMonthData(s, monthly::FixedItems::All);

        const std::string acct = m.t.home.path + "/acct";
        layoutDemoAccounting(acct, {s.curOperName}, {2006, 2});
        LinkFields f;
        f.choice = LinkChoice::SingleUser;
        f.folder = acct;
        f.setName = demoSets().front().name;
        confirmLink(s, f, kLinkChangePath);
        store = openLinkedStore(s);

        const char* debits[] = {"660201", "500101", "510101", "660101"};
        for (int i = 0; i < 20; ++i) {
            TransferRule r;
            r.departments = "01,02,03,04";
            r.items =
                bench::itemCode(4 + i) + "," + bench::itemCode(31 + i % 25) + (i % 5 == 0 ? ",F000" : "");
            r.attributes = i % 4 == 0 ? "1,2" : "";
            r.summary = "计提2006年02月工资";
            r.debit = debits[i % 4];
            r.credit = "221101";
            r.number = std::to_string(1 + i % 4);
            rules.push_back(std::move(r));
        }
    }
};

VoucherMonth& month() {
    static std::unique_ptr<VoucherMonth> v = std::make_unique<VoucherMonth>();
    return *v;
}

void BM_VoucherCheckAndTransfer(benchmark::State& state) {
    VoucherMonth& v = month();
    YesPrompt yes;
    SilentProgress progress;
    for (auto _ : state) {
        const Outcome o = runTransfer(v.m.t.s, *v.store, yes, {{2006, 2, 28}, v.rules, false}, progress);
        if (!o.ok || o.message != kTransferred)
            state.SkipWithError(o.message.c_str());
    }
}
BENCHMARK(BM_VoucherCheckAndTransfer)->Unit(benchmark::kMillisecond);

} // namespace
