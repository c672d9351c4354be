// The voucher lines worked out from the month, and the transfer into the
// set: numbering, uniting, the refusals that write nothing, and a failed
// write leaving the set and the month's transfer mark exactly as before.
#include "voucher_fixture.h"

#include "calc/numformat.h"

using namespace gzgl;
using namespace gzgl::accounting;

namespace {

struct VoucherTransfer : test::VoucherTask {
    std::vector<VoucherLine> lines(const std::vector<TransferRule>& rules, bool unite = false) {
        SilentProgress progress;
        const VoucherDraft d = computeVoucherLines(t.s, rules, unite, progress);
        EXPECT_TRUE(d.outcome.ok) << d.outcome.message;
        return d.lines;
    }
    std::int64_t amount(const TransferRule& r) { return lines({r}).at(0).fen; }

    // PZH, account, mark, amount and line of every written line, in order.
    std::vector<std::string> written() {
        std::vector<std::string> out;
        const Recordset rs =
            set.query("Select PZH,KMDM,JDBZ,JE,PZFYH,PZFYXH,ZY from ID0001_PZGL_D order by PZH,PZFYH,PZFYXH");
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const auto& r = rs.row(i);
            out.push_back(r[0].toString() + " " + r[1].toString() + " " + r[2].toString() + " " +
                          formatNumber(r[3].toDouble(), "#0.00") + " " + r[4].toString() + "/" +
                          r[5].toString());
        }
        return out;
    }
};

} // namespace

TEST_F(VoucherTransfer, AmountsFollowDepartmentsAttributesAndRecalculation) {
    EXPECT_EQ(amount(rule("01", "F003")), 600075);
    EXPECT_EQ(amount(rule("0101,02", "F003")), 340075);
    // F000 is calculated: 900.50 + 2000.25 + 3000.00 (2999.995 shown at two
    // decimals) + 400.00.
    EXPECT_EQ(amount(rule("01,02", "F000")), 630075);
    EXPECT_EQ(amount(rule("01", "F003", "660201", "221101", "1", "1")), 400050);
    EXPECT_EQ(amount(rule("01", "F003", "660201", "221101", "1", "1,2")), 600075);
    EXPECT_EQ(amount(rule("01,02", "F003", "660201", "221101", "1", "")), 640075);
    EXPECT_EQ(amount(rule("03", "F003")), 0);
    // Each employee's value is rounded to the cent before the sum: 100.004
    // gives 100.00, each 0.005 gives 0.01, the stored "no value" nothing.
    EXPECT_EQ(amount(rule("01,02", "F004")), 10002);
    EXPECT_EQ(amount(rule("01", "F003,F004")), 610076);
}

TEST_F(VoucherTransfer, EmployeeOutsideTheDepartmentTableTakesNoPart) {
    // An employee whose department is not (or no longer) defined is under no
    // lowest-level department of the rule, even if his code begins with one.
    addEmployee("0005", "010299", "1", 50, 0);
    addEmployee("0006", "", "1", 70, 0);
    EXPECT_EQ(amount(rule("01", "F003")), 600075);
}

TEST_F(VoucherTransfer, AttributeNoEmployeeHasIsRefused) {
    SilentProgress progress;
    const VoucherDraft d = computeVoucherLines(
        t.s, {rule("01", "F003"), rule("01", "F003", "660201", "221101", "1", "1,7")}, false, progress);
    EXPECT_EQ(d.outcome.message, kNoSuchAttribute);
    EXPECT_TRUE(d.lines.empty());
    EXPECT_EQ(run({rule("01", "F003", "660201", "221101", "1", "9")}).message, kNoSuchAttribute);
    EXPECT_EQ(count("_PZGL_D"), 0);
    EXPECT_FALSE(transferred());
    EXPECT_EQ(run({}).message, kNoRules);
}

TEST_F(VoucherTransfer, UniteMergesLinesOfOneAccountWithinAVoucherAndSide) {
    const std::vector<TransferRule> rules = {rule("0101", "F003", "660201", "221101", "1"),
                                             rule("0102", "F003", "500101", "221101", "1"),
                                             rule("02", "F003", "660201", "221101", "2")};
    const std::vector<VoucherLine> united = lines(rules, true);
    ASSERT_EQ(united.size(), 5u);
    EXPECT_EQ(united[0].account, "660201");
    EXPECT_EQ(united[0].fen, 300075);
    EXPECT_EQ(united[1].account, "221101");
    EXPECT_FALSE(united[1].debit);
    EXPECT_EQ(united[1].fen, 600075);
    EXPECT_EQ(united[1].department, ""); // two departments merged
    EXPECT_EQ(united[2].account, "500101");
    EXPECT_EQ(united[3].number, 2);
    EXPECT_EQ(united[3].fen, 40000);

    // A debit and a credit on the same account stay two lines.
    const std::vector<VoucherLine> sides =
        uniteLines({{1, "a", "1001", true, 5, ""}, {1, "b", "1001", false, 5, ""}});
    EXPECT_EQ(sides.size(), 2u);

    ASSERT_TRUE(run(rules, true).ok);
    EXPECT_EQ(written(), (std::vector<std::string>{"1 660201 J 3000.75 1/1", "1 221101 D 6000.75 1/2",
                                                   "1 500101 J 3000.00 1/3", "2 660201 J 400.00 1/1",
                                                   "2 221101 D 400.00 1/2"}));
}

TEST_F(VoucherTransfer, SecondTransferIsNumberedAfterTheMonthsHighestVoucher) {
    // Another voucher of the month, and one of the month before.
    set.execute("Insert Into ID0001_PZGL_M(PZH,PZRQ,KJN,KJY,YSPZZS,ZZR,PZZT) "
                "values(7,'2006.02.03',2006,2,0,'x','0')");
    set.execute("Insert Into ID0001_PZGL_M(PZH,PZRQ,KJN,KJY,YSPZZS,ZZR,PZZT) "
                "values(40,'2006.01.03',2006,1,0,'x','0')");
    // The rules' numbers 5 and 2 keep their order: 2 first.
    const std::vector<TransferRule> rules = {rule("0101", "F003", "660201", "221101", "5"),
                                             rule("02", "F003", "660101", "221101", "2")};
    const Outcome first = run(rules);
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.message, kTransferred);
    EXPECT_TRUE(transferred());
    EXPECT_EQ(written(), (std::vector<std::string>{"8 660101 J 400.00 1/1", "8 221101 D 400.00 1/2",
                                                   "9 660201 J 3000.75 1/1", "9 221101 D 3000.75 1/2"}));
    EXPECT_EQ(set.query("Select PZRQ,ZZR,PZZT,YSPZZS from ID0001_PZGL_M where PZH=9").row(0),
              (std::vector<Value>{"2006.02.28", t.s.curOperName, "0", std::int64_t{0}}));

    // Asked again: No writes nothing, Yes writes a second set after 9.
    t.prompt.answers = {false};
    EXPECT_TRUE(run(rules).message.empty());
    EXPECT_EQ(t.prompt.messages.back().text, kSecondTransfer);
    EXPECT_EQ(count("_PZGL_M"), 4);
    t.prompt.answers = {true};
    EXPECT_EQ(run(rules).message, kTransferred);
    EXPECT_EQ(
        set.scalar("Select group_concat(PZH) from (select PZH from ID0001_PZGL_M where KJY=2 order by PZH)")
            .toString(),
        "7,8,9,10,11");
}

TEST_F(VoucherTransfer, LinesContinueAVouchersExistingPageAndLine) {
    // Lines of voucher 1 without a header: the new voucher 1 goes on after
    // them on their last page.
    for (int line : {1, 2})
        set.execute("Insert Into ID0001_PZGL_D(PZH,ZY,KMDM,JDBZ,JE,KJN,KJY,PZFYH,PZFYXH) "
                    "values(1,'旧','1001','J',1,2006,2,2,?)",
                    {line});
    ASSERT_TRUE(run({rule("02", "F003")}).ok);
    EXPECT_EQ(
        set.scalar("Select group_concat(PZFYH||'/'||PZFYXH) from ID0001_PZGL_D where ZY<>'旧'").toString(),
        "2/3,2/4");
}

TEST_F(VoucherTransfer, VoucherOfZeroLinesWritesNothingAndTakesNoNumber) {
    ASSERT_TRUE(
        run({rule("03", "F003", "660201", "221101", "1"), rule("02", "F003", "660101", "221101", "2")}).ok);
    EXPECT_EQ(written(), (std::vector<std::string>{"1 660101 J 400.00 1/1", "1 221101 D 400.00 1/2"}));
    EXPECT_EQ(count("_PZGL_M"), 1);
}

TEST_F(VoucherTransfer, UnbalancedOrAllZeroTransferWritesNothing) {
    const VoucherDate date{2006, 2, 28};
    EXPECT_EQ(writeVouchers(t.s, *store,
                            {{1, "x", "660201", true, 100, ""}, {1, "x", "221101", false, 99, ""}}, date)
                  .message,
              kUnbalanced);
    EXPECT_EQ(run({rule("03", "F003")}).message, kAllZero);
    EXPECT_EQ(count("_PZGL_D"), 0);
    EXPECT_EQ(count("_PZGL_M"), 0);
    EXPECT_FALSE(transferred());
}

TEST_F(VoucherTransfer, RefusalsBeforeWriting) {
    set.execute("Delete from ID0001_YHGL");
    EXPECT_EQ(run({rule("01", "F003")}).message, kNoPermission);
    Connection sys;
    sys.open(acct + "/KS770WIN.MDB");
    sys.execute("Update ZTGL set DQKJY=3 where ZTID='ID0001'");
    EXPECT_EQ(run({rule("01", "F003")}).message, kPeriodMismatch);
    EXPECT_EQ(count("_PZGL_D"), 0);
    EXPECT_FALSE(transferred());
}

TEST_F(VoucherTransfer, FailedLineWriteLeavesTheSetAndTheMarkUnchanged) {
    set.execute("Insert Into ID0001_PZGL_M(PZH,PZRQ,KJN,KJY,YSPZZS,ZZR,PZZT) "
                "values(3,'2006.02.03',2006,2,0,'x','0')");
    // The accounting side fails on the second line of the transfer.
    set.execute("Create Trigger fail_second Before Insert On ID0001_PZGL_D "
                "When (Select count(*) from ID0001_PZGL_D) >= 1 Begin Select RAISE(ABORT, 'disk full'); End");
    const Outcome o = run({rule("01", "F003"), rule("02", "F003", "660101", "221101", "2")});
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("disk full"), std::string::npos) << o.message;
    EXPECT_EQ(count("_PZGL_D"), 0);
    EXPECT_EQ(count("_PZGL_M"), 1);
    EXPECT_FALSE(transferred());
    EXPECT_FALSE(set.inTransaction());

    // A failed header takes its voucher's lines with it.
    set.execute("Drop Trigger fail_second");
    set.execute("Create Trigger fail_header Before Insert On ID0001_PZGL_M "
                "When NEW.PZH > 3 Begin Select RAISE(ABORT, 'locked'); End");
    EXPECT_FALSE(run({rule("01", "F003")}).ok);
    EXPECT_EQ(count("_PZGL_D"), 0);
    EXPECT_FALSE(transferred());

    set.execute("Drop Trigger fail_header");
    EXPECT_EQ(run({rule("01", "F003")}).message, kTransferred);
    EXPECT_EQ(count("_PZGL_D"), 2);
    EXPECT_EQ(set.scalar("Select max(PZH) from ID0001_PZGL_M").toInt(), 4);
}

TEST_F(VoucherTransfer, SummaryWithQuotesIsWrittenAsTyped) {
    TransferRule r = rule("02", "F003");
    r.summary = "计提'工资\" -- 2月');Drop Table ID0001_PZGL_M;--";
    ASSERT_TRUE(run({r}).ok);
    EXPECT_EQ(set.scalar("Select group_concat(distinct ZY) from ID0001_PZGL_D").toString(), r.summary);
    EXPECT_EQ(count("_PZGL_M"), 1);
}

TEST_F(VoucherTransfer, DateAndAccountingItemFollowTheForm) {
    VoucherForm plain;
    plain.dottedDate = false;
    EXPECT_EQ(voucherDateText(plain, {2006, 2, 8}), "20060208");
    EXPECT_EQ(voucherDateText(store->form(), {2006, 2, 8}), "2006.02.08");
    EXPECT_EQ(store->form().debitMark, "J");
    EXPECT_EQ(store->form().creditMark, "D");
}
