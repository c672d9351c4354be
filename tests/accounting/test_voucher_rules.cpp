// The transfer rules: the checks in their order with their messages, the
// transfer date, and saving the rules.
#include "voucher_fixture.h"

using namespace gzgl;
using namespace gzgl::accounting;

namespace {

struct VoucherRules : test::VoucherTask {
    std::string refusal(const TransferRule& r, std::optional<VoucherDate> date = std::nullopt) {
        return checkRules(t.s, *store, {r}, date).outcome.message;
    }
};

} // namespace

TEST_F(VoucherRules, DepartmentCodes) {
    EXPECT_EQ(refusal(rule("01,0102", "F003")), "含有上下级关系的部门编码！");
    EXPECT_EQ(refusal(rule("0102,01", "F003")), "含有上下级关系的部门编码！");
    EXPECT_EQ(refusal(rule("0101,0101", "F003")), "部门编码有重复，请维护！");
    EXPECT_EQ(refusal(rule("09", "F003")), "含有非法部门代码！");
    EXPECT_EQ(refusal(rule("01;02", "F003")), "含有非法部门代码！");
    EXPECT_EQ(refusal(rule("0101' or '1'='1", "F003")), "含有非法部门代码！");
    EXPECT_EQ(refusal(rule("", "F003")), "含有非法部门代码！");
    // Siblings, and two top-level departments, are no parent-child pair.
    EXPECT_TRUE(checkRules(t.s, *store, {rule("0101,0102", "F003"), rule("01,02,", "F003")}, {}).outcome.ok);
}

TEST_F(VoucherRules, ItemsSummaryAccountsAndNumberInOrder) {
    EXPECT_EQ(refusal(rule("01", "")), "工资项目不能为空！");
    EXPECT_EQ(refusal(rule("01", "F003+F004")), "公式含有非法字符！");
    EXPECT_EQ(refusal(rule("01", "F003,F099")), "公式中含有未设置的工资项目！");
    EXPECT_TRUE(checkRules(t.s, *store, {rule("01", "F003,FFFD,FFFE,FFFF")}, {}).outcome.ok);

    TransferRule r = rule("01", "F003");
    r.summary = " ";
    EXPECT_EQ(refusal(r), "摘要不能为空！");
    EXPECT_EQ(refusal(rule("01", "F003", "")), "借方科目不能为空！");
    EXPECT_EQ(refusal(rule("01", "F003", "660201", "")), "贷方科目不能为空！");
    EXPECT_EQ(refusal(rule("01", "F003", "660201", "221101", "1a")), "公式含有非法字符！");
    EXPECT_EQ(refusal(rule("01", "F003", "660201", "221101", "")), "凭证号不能为空！");
    // The first failure of a rule wins: departments before items.
    EXPECT_EQ(refusal(rule("09", "")), "含有非法部门代码！");
}

TEST_F(VoucherRules, AccountMustBeALeafOfTheCurrentPeriod) {
    const RuleCheck debit = checkRules(t.s, *store, {rule("01", "F003"), rule("02", "F003", "6602")}, {});
    EXPECT_EQ(debit.outcome.message, "科目6602不为最明细,请修改！");
    EXPECT_EQ(debit.rule, 1);
    EXPECT_EQ(debit.column, RuleColumn::Debit);
    const RuleCheck credit = checkRules(t.s, *store, {rule("01", "F003", "660201", "2211")}, {});
    EXPECT_EQ(credit.outcome.message, "科目2211不为最明细,请修改！");
    EXPECT_EQ(credit.column, RuleColumn::Credit);
    EXPECT_EQ(refusal(rule("01", "F003", "9999")), "没有找到本科目！");
    // An account of another period's chart is not in the current one.
    set.execute("Update ID0001_YE set KJY=3 where KMDM='660202'");
    EXPECT_EQ(refusal(rule("01", "F003", "660202")), "没有找到本科目！");
}

TEST_F(VoucherRules, TransferDate) {
    EXPECT_FALSE(parseVoucherDate("2006", "2", "29"));
    EXPECT_EQ(parseVoucherDate("2008", "02", "29"), (VoucherDate{2008, 2, 29}));
    EXPECT_FALSE(parseVoucherDate("2006", "13", "1"));
    EXPECT_FALSE(parseVoucherDate("06", "2", "1"));
    EXPECT_FALSE(parseVoucherDate("2006", "4", "31"));
    EXPECT_EQ(refusal(rule("01", "F003"), VoucherDate{2006, 1, 31}), kDateTooEarly);
    EXPECT_EQ(refusal(rule("01", "F003"), VoucherDate{2006, 2, 30}), kBadDate);
    // The date comes before the rules.
    EXPECT_EQ(refusal(rule("09", "F003"), VoucherDate{2005, 12, 1}), kDateTooEarly);
    EXPECT_TRUE(checkRules(t.s, *store, {rule("01", "F003")}, VoucherDate{2006, 2, 1}).outcome.ok);
}

TEST_F(VoucherRules, SaveReplacesTheRulesOnlyWhenAllPass) {
    const std::vector<TransferRule> first = {rule("0101,0102", "F003,F004"),
                                             rule("02", "F000", "660101", "221101", "2", "1")};
    const RuleCheck saved = saveRules(t.s, *store, first);
    EXPECT_TRUE(saved.outcome.ok);
    EXPECT_EQ(saved.outcome.message, kRulesSaved);
    EXPECT_EQ(loadRules(t.s), first);
    EXPECT_EQ(t.s.taskConn.scalar("Select max(F_ID) from " + t.table("ZZ")).toInt(), 2);

    // A refused rule leaves the saved ones as they were.
    EXPECT_FALSE(saveRules(t.s, *store, {rule("01", "F003"), rule("01", "F003", "6602")}).outcome.ok);
    EXPECT_EQ(loadRules(t.s), first);
    EXPECT_TRUE(saveRules(t.s, *store, {}).outcome.ok);
    EXPECT_TRUE(loadRules(t.s).empty());
}

TEST_F(VoucherRules, NewRuleCarriesTheAccrualSummary) {
    EXPECT_EQ(newRule(t.s).summary, "计提2006年02月工资");
    EXPECT_TRUE(newRule(t.s).departments.empty());
}

TEST_F(VoucherRules, CarryCodesWithOtherLettersAreNoIllegalCharacters) {
    EXPECT_TRUE(checkRules(t.s, *store, {rule("01", "FFFE,FFFD")}, {}).outcome.ok);
    EXPECT_EQ(refusal(rule("01", "F00E")), "公式含有非法字符！");
    EXPECT_EQ(refusal(rule("01", "FFFG")), "公式含有非法字符！");
}
