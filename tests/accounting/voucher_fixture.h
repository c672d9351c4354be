// A logged-in task of 2006-02 linked to the demo accounting folder's set
// ID0001, with departments 01 (over 0101 and 0102), 02 and 03 (empty) and
// four employees whose gross pay F003 and item F004 (three decimals) are
// set, net pay F000 = F003 - F004.
#pragma once

#include "accounting/demo.h"
#include "accounting/link.h"
#include "accounting/transfer.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace gzgl::test {

struct VoucherTask : ::testing::Test {
    PayrollTask t;
    std::string acct;
    std::unique_ptr<accounting::AccountingStore> store;
    Connection set; // the set's database, to look at what was written

    void SetUp() override {
        Session& s = t.s;
        t.item("F004", "扣款", "数字", 3);
        for (const auto& [code, name, end] : {std::tuple{"01", "总部", 0},
                                              {"0101", "办公室", 1},
                                              {"0102", "车间", 1},
                                              {"02", "销售部", 1},
                                              {"03", "空部门", 1}})
            s.taskConn.execute("Insert Into " + t.table("Depart") +
                                   "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',?,?)",
                               {code, name, static_cast<int>(std::string(code).size() / 2), end});
        addEmployee("0001", "0101", "1", 1000.50, 100.004);
        addEmployee("0002", "0101", "2", 2000.25, -9999);
        addEmployee("0003", "0102", "1", 3000, 0.005);
        addEmployee("0004", "02", "", 400, 0.005);
        t.formula("F000", "F003-F004");

        acct = t.home.path + "/acct";
        accounting::layoutDemoAccounting(acct, {s.curOperName}, {2006, 2});
        LinkFields f;
        f.choice = LinkChoice::SingleUser;
        f.folder = acct;
        f.setName = "演示公司";
        if (!confirmLink(s, f, kLinkChangePath).ok)
            throw std::runtime_error("link failed");
        store = openLinkedStore(s);
        set.open(acct + "/KS0001.MDB");
    }

    void addEmployee(const std::string& no, const std::string& dep, const std::string& character,
                     double gross, double f004) {
        t.employee(no, "职工" + no, dep);
        t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_Character=? Where F_EmpNo=?",
                             {character, no});
        t.value(no, "F003", gross);
        t.value(no, "F004", f004);
    }

    static accounting::TransferRule rule(const std::string& deps, const std::string& items,
                                         const std::string& debit = "660201",
                                         const std::string& credit = "221101",
                                         const std::string& number = "1",
                                         const std::string& attributes = "") {
        return {deps, items, attributes, "计提2006年02月工资", debit, credit, number};
    }

    Outcome run(const std::vector<accounting::TransferRule>& rules, bool unite = false,
                accounting::VoucherDate date = {2006, 2, 28}) {
        SilentProgress progress;
        return accounting::runTransfer(t.s, *store, t.prompt, {date, rules, unite}, progress);
    }

    long long count(const char* table) {
        return set.scalar(std::string("Select count(*) from ID0001") + table).toInt();
    }
    bool transferred() { return accounting::monthTransferred(t.s); }
};

} // namespace gzgl::test
